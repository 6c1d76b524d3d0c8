#include "mesh.h"

#include <cmath>

namespace datagen {

int MeshObject::addVertex(Vec3 p, Vec2 uv) {
    positions.push_back(p);
    uvs.push_back(uv);
    return static_cast<int>(positions.size()) - 1;
}

void MeshObject::addQuad(int a, int b, int c, int d) {
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void MeshObject::append(const MeshObject& other, const std::function<Vec3(Vec3)>& place) {
    const int base = static_cast<int>(positions.size());
    for (size_t i = 0; i < other.positions.size(); ++i) {
        positions.push_back(place ? place(other.positions[i]) : other.positions[i]);
        uvs.push_back(other.uvs[i]);
    }
    for (const auto& f : other.faces) faces.push_back({f[0] + base, f[1] + base, f[2] + base});
}

void MeshObject::flipFaces() {
    for (auto& f : faces) std::swap(f[1], f[2]);
}

size_t Model::triangleCount() const {
    size_t n = 0;
    for (const auto& o : objects) n += o.faces.size();
    return n;
}

int pick(Detail detail, int full, int middle, int far) {
    switch (detail) {
        case Detail::Full:
            return full;
        case Detail::Middle:
            return middle;
        case Detail::Far:
            break;
    }
    return far;
}

void orientOutward(MeshObject& solid) {
    if (solid.positions.empty()) return;
    Vec3 centre;
    for (const Vec3& p : solid.positions) centre = centre + p;
    centre = centre * (1.0f / static_cast<float>(solid.positions.size()));
    double volume = 0;
    for (const auto& f : solid.faces) {
        const Vec3 a = solid.positions[static_cast<size_t>(f[0])] - centre;
        const Vec3 b = solid.positions[static_cast<size_t>(f[1])] - centre;
        const Vec3 c = solid.positions[static_cast<size_t>(f[2])] - centre;
        volume += static_cast<double>(dot(a, cross(b, c)));
    }
    if (volume < 0) solid.flipFaces();
}

namespace {

void addCap(MeshObject& out, const std::vector<Vec3>& ring, bool reversed, Vec2 flatUv) {
    Vec3 centre;
    for (const Vec3& p : ring) centre = centre + p;
    centre = centre * (1.0f / static_cast<float>(ring.size()));
    // Planar texture coordinates from the two largest extents of the cap.
    const bool flat = flatUv.y >= 0;
    const int c = out.addVertex(centre, flat ? flatUv : Vec2{0.5f, 0.5f});
    const int first = static_cast<int>(out.positions.size());
    for (const Vec3& p : ring) {
        const Vec3 d = p - centre;
        out.addVertex(p, flat ? flatUv : Vec2{0.5f + d.x, 0.5f + d.y + d.z});
    }
    const int n = static_cast<int>(ring.size());
    for (int j = 0; j < n; ++j) {
        const int a = first + j;
        const int b = first + (j + 1) % n;
        if (reversed) {
            out.addTriangle(c, b, a);
        } else {
            out.addTriangle(c, a, b);
        }
    }
}

}  // namespace

MeshObject loft(const std::vector<std::vector<Vec3>>& rings, const std::vector<float>& us,
                const std::vector<float>& vs, float capV) {
    MeshObject out;
    const size_t n = rings.front().size();
    const int stride = static_cast<int>(n) + 1;
    for (size_t i = 0; i < rings.size(); ++i) {
        const auto& ring = rings[i];
        float perimeter = 0;
        for (size_t j = 0; j < n; ++j) perimeter += length(ring[(j + 1) % n] - ring[j]);
        float along = 0;
        for (size_t j = 0; j <= n; ++j) {
            const float v = vs.empty() ? (perimeter > 0 ? along / perimeter : 0) : vs[j];
            out.addVertex(ring[j % n], {us[i], v});
            if (j < n) along += length(ring[(j + 1) % n] - ring[j]);
        }
    }
    for (int i = 0; i + 1 < static_cast<int>(rings.size()); ++i) {
        for (int j = 0; j < static_cast<int>(n); ++j) {
            const int a = i * stride + j;
            const int b = (i + 1) * stride + j;
            out.addQuad(a, a + 1, b + 1, b);
        }
    }
    addCap(out, rings.front(), true, {us.front(), capV});
    addCap(out, rings.back(), false, {us.back(), capV});
    orientOutward(out);
    return out;
}

MeshObject lathe(const std::vector<Vec2>& profile, int segments, int axis, Vec3 centre,
                 const std::vector<int>& hardCorners, const std::vector<float>& vs) {
    MeshObject out;
    float total = 0;
    for (size_t k = 1; k < profile.size(); ++k) {
        total += std::hypot(profile[k].x - profile[k - 1].x, profile[k].y - profile[k - 1].y);
    }
    auto place = [&](Vec2 p, float angle) {
        const float c = std::cos(angle) * p.y;
        const float s = std::sin(angle) * p.y;
        switch (axis) {
            case 0:
                return centre + Vec3{p.x, c, s};
            case 1:
                return centre + Vec3{s, p.x, c};
            default:
                return centre + Vec3{c, s, p.x};
        }
    };
    auto isHard = [&](size_t k) {
        for (int h : hardCorners) {
            if (static_cast<size_t>(h) == k) return true;
        }
        return false;
    };
    float along = 0;
    int previousRing = -1;
    for (size_t k = 0; k < profile.size(); ++k) {
        if (k > 0) {
            along += std::hypot(profile[k].x - profile[k - 1].x, profile[k].y - profile[k - 1].y);
        }
        const int copies = (isHard(k) && k > 0 && k + 1 < profile.size()) ? 2 : 1;
        for (int copy = 0; copy < copies; ++copy) {
            const int ring = static_cast<int>(out.positions.size());
            for (int s = 0; s <= segments; ++s) {
                const float u = static_cast<float>(s) / static_cast<float>(segments);
                // The seam repeats the first angle exactly, so that its edges match.
                const float angle = s == segments ? 0.0f : u * 2 * kPi;
                out.addVertex(place(profile[k], angle), {u, vs.empty() ? along / total : vs[k]});
            }
            if (copy == 0 && previousRing >= 0) {
                const bool poleA = profile[k - 1].y <= 1e-6f;
                const bool poleB = profile[k].y <= 1e-6f;
                for (int s = 0; s < segments; ++s) {
                    const int a = previousRing + s;
                    const int b = ring + s;
                    if (!poleA) out.addTriangle(a, a + 1, b + 1);
                    if (!poleB) out.addTriangle(a, b + 1, b);
                }
            }
            previousRing = ring;
        }
    }
    orientOutward(out);
    return out;
}

MeshObject box(Vec3 low, Vec3 high) {
    MeshObject out;
    const Vec3 c[8] = {{low.x, low.y, low.z},    {high.x, low.y, low.z}, {high.x, high.y, low.z},
                       {low.x, high.y, low.z},   {low.x, low.y, high.z}, {high.x, low.y, high.z},
                       {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    const int quads[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    for (const auto& q : quads) {
        const int a = out.addVertex(c[q[0]], {0, 0});
        const int b = out.addVertex(c[q[1]], {1, 0});
        const int d = out.addVertex(c[q[2]], {1, 1});
        const int e = out.addVertex(c[q[3]], {0, 1});
        out.addQuad(a, b, d, e);
    }
    orientOutward(out);
    return out;
}

MeshObject prism(const std::vector<Vec2>& outline, float z0, float z1, float bevel) {
    Vec2 centre;
    for (const Vec2& p : outline) {
        centre.x += p.x;
        centre.y += p.y;
    }
    centre.x /= static_cast<float>(outline.size());
    centre.y /= static_cast<float>(outline.size());
    auto ringAt = [&](float z, float inset) {
        std::vector<Vec3> ring;
        for (const Vec2& p : outline) {
            const float dx = p.x - centre.x;
            const float dy = p.y - centre.y;
            const float d = std::hypot(dx, dy);
            const float k = d > 0 ? std::max(0.0f, (d - inset) / d) : 1.0f;
            ring.push_back({centre.x + dx * k, centre.y + dy * k, z});
        }
        return ring;
    };
    if (bevel <= 0) return loft({ringAt(z0, 0), ringAt(z1, 0)}, {0, 1});
    return loft(
        {ringAt(z0, bevel), ringAt(z0 + bevel, 0), ringAt(z1 - bevel, 0), ringAt(z1, bevel)},
        {0, 0.1f, 0.9f, 1});
}

std::function<Vec3(Vec3)> rotateThenMove(int axis, float degrees, Vec3 shift) {
    const float a = degrees * kPi / 180.0f;
    const float c = std::cos(a);
    const float s = std::sin(a);
    return [=](Vec3 p) {
        Vec3 r = p;
        if (axis == 0) r = {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
        if (axis == 1) r = {c * p.x + s * p.z, p.y, -s * p.x + c * p.z};
        if (axis == 2) r = {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
        return r + shift;
    };
}

std::function<Vec3(Vec3)> moveBy(Vec3 shift) {
    return [=](Vec3 p) { return p + shift; };
}

}  // namespace datagen
