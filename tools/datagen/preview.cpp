// voka-datagen-preview <game-dir> <out.png>: draws the generated models with a small
// software renderer (z-buffer, per-vertex light, textures read back from the game
// directory), so their looks can be judged without starting the game.
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "image_files.h"
#include "models.h"
#include "voka_model.h"

namespace datagen {
namespace {

struct Texture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

class TextureCache {
  public:
    explicit TextureCache(std::string dir) : dir_(std::move(dir)) {}
    const Texture* get(const std::string& name) {
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

  private:
    std::string dir_;
    std::map<std::string, Texture> cache_;
};

struct Camera {
    Vec3 eye, target;
    float fov = 30;
};

class Canvas {
  public:
    Canvas(int w, int h)
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
    void set(int x, int y, Vec3 c) {
        unsigned char* p = &rgb_[(static_cast<size_t>(y) * w_ + x) * 3];
        p[0] = toByte(c.x);
        p[1] = toByte(c.y);
        p[2] = toByte(c.z);
    }

    void draw(const Model& model, const std::function<Vec3(Vec3)>& place, const Camera& cam,
              TextureCache& textures) {
        const Vec3 forward = normalized(cam.target - cam.eye);
        const Vec3 right = normalized(cross(forward, {0, 1, 0}));
        const Vec3 up = cross(right, forward);
        const float focal = static_cast<float>(h_) * 0.5f / std::tan(cam.fov * kPi / 360);
        const Vec3 light = normalized({-0.4f, 0.8f, -0.45f});
        for (const MeshObject& o : model.objects) {
            const Material& mat = model.materials[static_cast<size_t>(o.material)];
            const Texture* tex = textures.get(mat.texture);
            // Smooth normals the way the game makes them.
            std::vector<Vec3> normals(o.positions.size());
            for (const auto& f : o.faces) {
                const Vec3 n = cross(
                    o.positions[static_cast<size_t>(f[1])] - o.positions[static_cast<size_t>(f[0])],
                    o.positions[static_cast<size_t>(f[2])] -
                        o.positions[static_cast<size_t>(f[0])]);
                for (int k : f)
                    normals[static_cast<size_t>(k)] = normals[static_cast<size_t>(k)] + n;
            }
            struct Corner {
                float sx, sy, z, u, v, light;
            };
            auto project = [&](int index) {
                const Vec3 p = place(o.positions[static_cast<size_t>(index)]);
                const Vec3 q = place(o.positions[static_cast<size_t>(index)] +
                                     normalized(normals[static_cast<size_t>(index)]) * 0.001f);
                const Vec3 n = normalized(q - p);
                const Vec3 d = p - cam.eye;
                const float z = dot(d, forward);
                const float lit = 0.38f + 0.72f * std::max(0.0f, dot(n, light));
                return Corner{static_cast<float>(w_) * 0.5f + focal * dot(d, right) / z,
                              static_cast<float>(h_) * 0.5f - focal * dot(d, up) / z,
                              z,
                              o.uvs[static_cast<size_t>(index)].x,
                              o.uvs[static_cast<size_t>(index)].y,
                              lit};
            };
            for (const auto& f : o.faces) {
                const Corner c[3] = {project(f[0]), project(f[1]), project(f[2])};
                fill(c[0], c[1], c[2], mat, tex);
            }
        }
    }

    bool save(const std::string& path) const {
        return stbi_write_png(path.c_str(), w_, h_, 3, rgb_.data(), w_ * 3) != 0;
    }

  private:
    template <typename C>
    void fill(const C& a, const C& b, const C& c, const Material& mat, const Texture* tex) {
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
                float wa = ((b.sx - px) * (c.sy - py) - (c.sx - px) * (b.sy - py)) / area;
                float wb = ((c.sx - px) * (a.sy - py) - (a.sx - px) * (c.sy - py)) / area;
                float wc = 1 - wa - wb;
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
                Vec3 colour{mat.red / 255.0f, mat.green / 255.0f, mat.blue / 255.0f};
                if (tex != nullptr && !tex->rgb.empty()) {
                    const float fu = u - std::floor(u);
                    const float fv = v - std::floor(v);
                    const int tx = std::min(tex->width - 1,
                                            static_cast<int>(fu * static_cast<float>(tex->width)));
                    const int ty =
                        std::min(tex->height - 1,
                                 static_cast<int>((1 - fv) * static_cast<float>(tex->height)));
                    const unsigned char* p =
                        &tex->rgb[(static_cast<size_t>(ty) * tex->width + tx) * 3];
                    colour = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
                }
                set(x, y, colour * lit);
            }
        }
    }

    int w_, h_;
    std::vector<unsigned char> rgb_;
    std::vector<float> depth_;
};

Vec3 identity(Vec3 p) {
    return p;
}

}  // namespace
}  // namespace datagen

int main(int argc, char** argv) {
    using namespace datagen;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <game-dir> <out-prefix>\n", argv[0]);
        return 2;
    }
    TextureCache textures(argv[1]);
    const std::string prefix = argv[2];
    const Detail details[] = {Detail::Full, Detail::Middle, Detail::Far};
    const char* names[] = {"full", "middle", "far"};
    for (int d = 0; d < 3; ++d) {
        Canvas front(640, 480);
        const Camera c1{{-0.75f, 0.55f, -1.05f}, {0, 0.2f, -0.23f}, 38};
        front.draw(vokaModel(details[d], "voka_red_body.tga"), identity, c1, textures);
        front.draw(machineGunModel(details[d]), identity, c1, textures);
        front.save(prefix + "_red_" + names[d] + ".png");
        Canvas back(640, 480);
        const Camera c2{{0.8f, 0.6f, 0.7f}, {0, 0.2f, -0.23f}, 38};
        back.draw(vokaModel(details[d], "voka_green_body.tga"), identity, c2, textures);
        back.draw(railGunModel(details[d]), identity, c2, textures);
        back.save(prefix + "_green_" + names[d] + ".png");
    }
    Canvas items(1200, 300);
    const ItemKind kinds[] = {ItemKind::Power25,  ItemKind::Power15, ItemKind::AmmoMg,
                              ItemKind::AmmoRail, ItemKind::Armor50, ItemKind::Armor100};
    const Camera c3{{0, 0.8f, 3.2f}, {0, 0.28f, 0}, 30};
    for (int k = 0; k < 6; ++k) {
        const float x = -1.5f + 0.6f * static_cast<float>(k);
        items.draw(
            itemModel(kinds[k], Detail::Full),
            [x](Vec3 p) {
                return rotateThenMove(1, 30, {x, 0, 0})(p);
            },
            c3, textures);
    }
    items.save(prefix + "_items.png");
    Canvas sky(640, 480);
    sky.draw(skyModel(), identity, Camera{{0, 0.01f, 0}, {-0.3f, 0.2f, 0.3f}, 90}, textures);
    sky.save(prefix + "_sky.png");
    return 0;
}
