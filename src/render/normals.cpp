#include <cmath>
#include <vector>

#include "render/loader_3ds.h"

namespace {

Vec3f sub(const Vec3f& a, const Vec3f& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3f cross(const Vec3f& a, const Vec3f& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

void computeNormals(MeshObject3ds& object) {
    const std::size_t vertexCount = object.vertices.size();
    std::vector<Vec3f> sum(vertexCount);
    std::vector<int> shared(vertexCount, 0);
    for (const Face3ds& face : object.faces) {
        const int a = face.vertex[0];
        const int b = face.vertex[1];
        const int c = face.vertex[2];
        if (a < 0 || b < 0 || c < 0 || static_cast<std::size_t>(a) >= vertexCount ||
            static_cast<std::size_t>(b) >= vertexCount ||
            static_cast<std::size_t>(c) >= vertexCount)
            continue;
        const Vec3f& p0 = object.vertices[a];
        const Vec3f& p1 = object.vertices[b];
        const Vec3f& p2 = object.vertices[c];
        // (P0 - P2) x (P2 - P1) points against the counter-clockwise normal; the sum is
        // divided by the negative count below to turn it round.
        const Vec3f n = cross(sub(p0, p2), sub(p2, p1));
        // A vertex named twice by one face counts once for it.
        const int corners[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            if ((k > 0 && corners[k] == corners[0]) || (k > 1 && corners[k] == corners[1]))
                continue;
            Vec3f& s = sum[corners[k]];
            s.x += n.x;
            s.y += n.y;
            s.z += n.z;
            shared[corners[k]] += 1;
        }
    }
    object.normals.assign(vertexCount, Vec3f{});
    for (std::size_t i = 0; i < vertexCount; ++i) {
        if (shared[i] == 0) continue;  // a vertex of no face keeps a zero normal
        const float divisor = -static_cast<float>(shared[i]);
        Vec3f n{sum[i].x / divisor, sum[i].y / divisor, sum[i].z / divisor};
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (length != 0.0f) n = Vec3f{n.x / length, n.y / length, n.z / length};
        object.normals[i] = n;
    }
}

void computeNormals(Model3ds& model) {
    for (MeshObject3ds& object : model.objects) computeNormals(object);
}
