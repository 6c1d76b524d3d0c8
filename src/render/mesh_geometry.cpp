#include "render/mesh_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// An edge end point as the bits of its coordinates. -0 is folded into +0 so that bit
// equality is float equality; points with a NaN coordinate equal nothing, not even
// themselves, and are never indexed.
struct PointKey {
    std::uint32_t bits[3];

    bool operator==(const PointKey& other) const {
        return bits[0] == other.bits[0] && bits[1] == other.bits[1] && bits[2] == other.bits[2];
    }
    bool operator<(const PointKey& other) const {
        return std::lexicographical_compare(bits, bits + 3, other.bits, other.bits + 3);
    }
};

bool pointKey(const Vec3f& p, PointKey& key) {
    const float coords[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
        if (std::isnan(coords[i])) return false;
        const float c = coords[i] == 0.0f ? 0.0f : coords[i];
        std::memcpy(&key.bits[i], &c, sizeof c);
    }
    return true;
}

// An edge regardless of direction: its two end points in a fixed order.
struct EdgeKey {
    PointKey a;
    PointKey b;
    bool operator==(const EdgeKey& other) const { return a == other.a && b == other.b; }
};

struct EdgeHash {
    std::size_t operator()(const EdgeKey& e) const {
        std::uint64_t h = 1469598103934665603ull;
        for (std::uint32_t word :
             {e.a.bits[0], e.a.bits[1], e.a.bits[2], e.b.bits[0], e.b.bits[1], e.b.bits[2]}) {
            h ^= word;
            h *= 1099511628211ull;
        }
        return static_cast<std::size_t>(h);
    }
};

bool edgeKey(const MeshObject3ds& object, const Face3ds& face, int k, EdgeKey& key) {
    const int from = face.vertex[k];
    const int to = face.vertex[(k + 1) % 3];
    const int count = static_cast<int>(object.vertices.size());
    if (from < 0 || to < 0 || from >= count || to >= count) return false;
    PointKey p;
    PointKey q;
    if (!pointKey(object.vertices[from], p) || !pointKey(object.vertices[to], q)) return false;
    key = q < p ? EdgeKey{q, p} : EdgeKey{p, q};
    return true;
}

// Face and edge of one occurrence of an edge.
struct EdgeUse {
    std::int32_t face;
    std::int32_t edge;
};

}  // namespace

void buildConnectivity(MeshObject3ds& object) {
    const std::int32_t faceCount = static_cast<std::int32_t>(object.faces.size());
    // Every use of every edge, in face and edge order.
    std::unordered_map<EdgeKey, std::vector<EdgeUse>, EdgeHash> uses;
    uses.reserve(static_cast<std::size_t>(faceCount) * 2);
    std::vector<EdgeKey> keys(static_cast<std::size_t>(faceCount) * 3);
    std::vector<bool> valid(keys.size(), false);
    for (std::int32_t f = 0; f < faceCount; ++f) {
        for (int k = 0; k < 3; ++k) {
            const std::size_t slot = static_cast<std::size_t>(f) * 3 + k;
            if (edgeKey(object, object.faces[f], k, keys[slot])) {
                valid[slot] = true;
                uses[keys[slot]].push_back(EdgeUse{f, k});
            }
        }
    }
    // Replay the face-by-face search: the first use by another face is what a search
    // through all faces in order would find first.
    for (Face3ds& face : object.faces) face.lit = FaceLit::Unclassified;
    for (std::int32_t i = 0; i < faceCount; ++i) {
        for (int k = 0; k < 3; ++k) {
            const std::size_t slot = static_cast<std::size_t>(i) * 3 + k;
            const EdgeUse* match = nullptr;
            if (valid[slot]) {
                for (const EdgeUse& use : uses[keys[slot]]) {
                    if (use.face != i) {
                        match = &use;
                        break;
                    }
                }
            }
            if (match == nullptr) {
                object.faces[i].neighbour[k] = FaceNeighbour::None;
                continue;
            }
            object.faces[i].neighbour[k] = match->face;
            object.faces[match->face].neighbour[match->edge] = i;
        }
    }
}

void buildConnectivity(Model3ds& model) {
    for (MeshObject3ds& object : model.objects) buildConnectivity(object);
}

void computePlanes(MeshObject3ds& object) {
    const int count = static_cast<int>(object.vertices.size());
    for (Face3ds& face : object.faces) {
        bool inside = true;
        for (int index : face.vertex) inside = inside && index >= 0 && index < count;
        if (!inside) continue;
        const Vec3f& p1 = object.vertices[face.vertex[0]];
        const Vec3f& p2 = object.vertices[face.vertex[1]];
        const Vec3f& p3 = object.vertices[face.vertex[2]];
        const double x1 = p1.x, y1 = p1.y, z1 = p1.z;
        const double x2 = p2.x, y2 = p2.y, z2 = p2.z;
        const double x3 = p3.x, y3 = p3.y, z3 = p3.z;
        face.plane[0] = y1 * (z2 - z3) + y2 * (z3 - z1) + y3 * (z1 - z2);
        face.plane[1] = z1 * (x2 - x3) + z2 * (x3 - x1) + z3 * (x1 - x2);
        face.plane[2] = x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2);
        face.plane[3] =
            -(x1 * (y2 * z3 - y3 * z2) + x2 * (y3 * z1 - y1 * z3) + x3 * (y1 * z2 - y2 * z1));
    }
}

void computePlanes(Model3ds& model) {
    for (MeshObject3ds& object : model.objects) computePlanes(object);
}
