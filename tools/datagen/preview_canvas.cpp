#include "preview_canvas.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image_files.h"

namespace datagen {

const Texture* TextureCache::get(const std::string& name) {
    if (name.empty()) return nullptr;
    auto it = cache_.find(name);
    if (it != cache_.end()) return &it->second;
    Texture t;
    int channels = 0;
    unsigned char* data =
        stbi_load((dir_ + "/textures/" + name).c_str(), &t.width, &t.height, &channels, 3);
    if (data != nullptr) {
        t.rgb.assign(data, data + static_cast<size_t>(t.width) * t.height * 3);
        stbi_image_free(data);
    } else {
        std::fprintf(stderr, "preview: cannot read texture %s\n", name.c_str());
    }
    return &cache_.emplace(name, std::move(t)).first->second;
}

Canvas::Canvas(int w, int h)
    : w_(w),
      h_(h),
      rgb_(static_cast<size_t>(w) * h * 3),
      depth_(static_cast<size_t>(w) * h, 1e30f) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float t = static_cast<float>(y) / static_cast<float>(h);
            set(x, y, {0.55f + 0.2f * t, 0.62f + 0.15f * t, 0.7f + 0.05f * t});
        }
    }
}

void Canvas::set(int x, int y, Vec3 c) {
    unsigned char* p = &rgb_[(static_cast<size_t>(y) * w_ + x) * 3];
    p[0] = toByte(c.x);
    p[1] = toByte(c.y);
    p[2] = toByte(c.z);
}

void Canvas::draw(const Model& model, const Placement& placement, const Camera& cam,
                  TextureCache& textures) {
    const Vec3 forward = normalized(cam.target - cam.eye);
    const Vec3 right = normalized(cross(forward, {0, 1, 0}));
    const Vec3 up = cross(right, forward);
    const float focal = static_cast<float>(h_) * 0.5f / std::tan(cam.fov * kPi / 360);
    // The game's sun at (-800, -800, 2000) in world space (z up), turned to Y up.
    const Vec3 light = normalized({-800, 2000, 800});
    for (const MeshObject& o : model.objects) {
        const Material& mat = model.materials[static_cast<size_t>(o.material)];
        const Texture* tex = textures.get(mat.texture);
        // Smooth normals the way the game makes them.
        std::vector<Vec3> normals(o.positions.size());
        for (const auto& f : o.faces) {
            const Vec3 a = o.positions[static_cast<size_t>(f[0])];
            const Vec3 n = cross(o.positions[static_cast<size_t>(f[1])] - a,
                                 o.positions[static_cast<size_t>(f[2])] - a);
            for (int k : f) normals[static_cast<size_t>(k)] = normals[static_cast<size_t>(k)] + n;
        }
        std::vector<Corner> corners(o.positions.size());
        for (size_t i = 0; i < o.positions.size(); ++i) {
            const Vec3 p = placement.place(o.positions[i]);
            const Vec3 q = placement.place(o.positions[i] + normalized(normals[i]) * 0.001f);
            const Vec3 d = p - cam.eye;
            const float z = dot(d, forward);
            const float lit =
                placement.lit ? 0.42f + 0.7f * std::max(0.0f, dot(normalized(q - p), light)) : 1.0f;
            corners[i] = {static_cast<float>(w_) * 0.5f + focal * dot(d, right) / z,
                          static_cast<float>(h_) * 0.5f - focal * dot(d, up) / z,
                          z,
                          o.uvs[i].x,
                          o.uvs[i].y,
                          lit,
                          placement.fog ? placement.fog(p) : 0.0f};
        }
        for (const auto& f : o.faces) {
            fill(corners[static_cast<size_t>(f[0])], corners[static_cast<size_t>(f[1])],
                 corners[static_cast<size_t>(f[2])], mat, tex);
        }
    }
}

void Canvas::fill(const Corner& a, const Corner& b, const Corner& c, const Material& mat,
                  const Texture* tex) {
    if (a.z <= 0.01f || b.z <= 0.01f || c.z <= 0.01f) return;
    const float area = (b.sx - a.sx) * (c.sy - a.sy) - (c.sx - a.sx) * (b.sy - a.sy);
    if (std::fabs(area) < 1e-9f) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.sx, b.sx, c.sx}))));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::ceil(std::max({a.sx, b.sx, c.sx}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.sy, b.sy, c.sy}))));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::ceil(std::max({a.sy, b.sy, c.sy}))));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float wa = ((b.sx - px) * (c.sy - py) - (c.sx - px) * (b.sy - py)) / area;
            const float wb = ((c.sx - px) * (a.sy - py) - (a.sx - px) * (c.sy - py)) / area;
            const float wc = 1 - wa - wb;
            if (wa < 0 || wb < 0 || wc < 0) continue;
            // Perspective-correct interpolation.
            const float ia = wa / a.z, ib = wb / b.z, ic = wc / c.z;
            const float sum = ia + ib + ic;
            const float z = 1 / sum;
            float& depth = depth_[static_cast<size_t>(y) * w_ + x];
            if (z >= depth) continue;
            depth = z;
            const float u = (a.u * ia + b.u * ib + c.u * ic) / sum;
            const float v = (a.v * ia + b.v * ib + c.v * ic) / sum;
            const float lit = (a.light * ia + b.light * ib + c.light * ic) / sum;
            const float fog = (a.fog * ia + b.fog * ib + c.fog * ic) / sum;
            Vec3 colour{mat.red / 255.0f, mat.green / 255.0f, mat.blue / 255.0f};
            if (tex != nullptr && !tex->rgb.empty()) {
                const float fu = u - std::floor(u);
                const float fv = v - std::floor(v);
                const int tx =
                    std::min(tex->width - 1, static_cast<int>(fu * static_cast<float>(tex->width)));
                const int ty = std::min(
                    tex->height - 1, static_cast<int>((1 - fv) * static_cast<float>(tex->height)));
                const unsigned char* p = &tex->rgb[(static_cast<size_t>(ty) * tex->width + tx) * 3];
                colour = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
            }
            const Vec3 shaded = colour * lit;
            set(x, y, shaded * (1 - fog) + Vec3{0.7f, 0.7f, 0.7f} * fog);
        }
    }
}

bool Canvas::save(const std::string& path) const {
    return stbi_write_png(path.c_str(), w_, h_, 3, rgb_.data(), w_ * 3) != 0;
}

}  // namespace datagen
