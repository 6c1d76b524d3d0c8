#include "combat/collision_model.h"

#include <algorithm>
#include <cmath>

namespace {

using Vec = CollisionModel::Vec;
using Triangle = CollisionModel::Triangle;

// Model units within which a point counts as touching a triangle.
constexpr double kTouch = 1e-5;

Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(Vec a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length2(Vec a) {
    return dot(a, a);
}

Vec toVec(const float* p) {
    return {p[0], p[1], p[2]};
}

bool finite(const float* p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// The point of the triangle nearest to p, by the Voronoi region of p (vertex, edge or
// face).
Vec closestOnTriangle(Vec p, const Triangle& t) {
    const Vec ab = t.b - t.a, ac = t.c - t.a, ap = p - t.a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return t.a;
    const Vec bp = p - t.b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return t.b;
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return t.a + ab * (d1 / (d1 - d3));
    const Vec cp = p - t.c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return t.c;
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return t.a + ac * (d2 / (d2 - d6));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
        return t.b + (t.c - t.b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const double denominator = va + vb + vc;
    if (denominator == 0) return t.a;  // degenerate triangle: the vertex regions cover it
    return t.a + ab * (vb / denominator) + ac * (vc / denominator);
}

bool touchesTriangle(Vec p, const Triangle& t) {
    return length2(p - closestOnTriangle(p, t)) <= kTouch * kTouch;
}

// Squared distance between the segments p0-p1 and q0-q1.
double segmentDistance2(Vec p0, Vec p1, Vec q0, Vec q1) {
    const Vec d1 = p1 - p0, d2 = q1 - q0, r = p0 - q0;
    const double a = length2(d1), e = length2(d2), f = dot(d2, r);
    double s = 0, t = 0;
    if (a <= 0 && e <= 0) return length2(r);
    if (a <= 0) {
        t = std::clamp(f / e, 0.0, 1.0);
    } else {
        const double c = dot(d1, r);
        if (e <= 0) {
            s = std::clamp(-c / a, 0.0, 1.0);
        } else {
            const double b = dot(d1, d2), denominator = a * e - b * b;
            s = denominator > 0 ? std::clamp((b * f - c * e) / denominator, 0.0, 1.0) : 0.0;
            t = (b * s + f) / e;
            if (t < 0) {
                t = 0;
                s = std::clamp(-c / a, 0.0, 1.0);
            } else if (t > 1) {
                t = 1;
                s = std::clamp((b - c) / a, 0.0, 1.0);
            }
        }
    }
    return length2((p0 + d1 * s) - (q0 + d2 * t));
}

bool segmentTouchesTriangle(Vec p0, Vec p1, const Triangle& t) {
    const double d0 = dot(p0 - t.a, t.normal), d1 = dot(p1 - t.a, t.normal);
    if ((d0 > kTouch && d1 > kTouch) || (d0 < -kTouch && d1 < -kTouch)) return false;
    if (std::fabs(d0) > kTouch || std::fabs(d1) > kTouch) {
        // Crosses the plane (or ends on it): is the crossing point on the triangle?
        const double along = std::clamp(d0 / (d0 - d1), 0.0, 1.0);
        return touchesTriangle(p0 + (p1 - p0) * along, t);
    }
    // In the plane: an end on the triangle, or the segment meets one of its edges.
    constexpr double kTouch2 = kTouch * kTouch;
    return touchesTriangle(p0, t) || touchesTriangle(p1, t) ||
           segmentDistance2(p0, p1, t.a, t.b) <= kTouch2 ||
           segmentDistance2(p0, p1, t.b, t.c) <= kTouch2 ||
           segmentDistance2(p0, p1, t.c, t.a) <= kTouch2;
}

}  // namespace

void CollisionModel::addTriangle(const Point& a, const Point& b, const Point& c) {
    Triangle t{toVec(a.data()), toVec(b.data()), toVec(c.data()), {0, 0, 0}};
    const Vec n = cross(t.b - t.a, t.c - t.a);
    const double size = std::sqrt(length2(n));
    if (size > 0) t.normal = n * (1.0 / size);
    if (triangles_.empty()) low_ = high_ = t.a;
    for (const Vec& v : {t.a, t.b, t.c}) {
        low_ = {std::min(low_.x, v.x), std::min(low_.y, v.y), std::min(low_.z, v.z)};
        high_ = {std::max(high_.x, v.x), std::max(high_.y, v.y), std::max(high_.z, v.z)};
    }
    triangles_.push_back(t);
}

bool CollisionModel::segmentHit(const float origin[3], const float direction[3],
                                float length) const {
    if (!finite(origin) || !finite(direction) || !std::isfinite(length) || !(length > 0))
        return false;
    const Vec d = toVec(direction);
    const double size = std::sqrt(length2(d));
    if (!(size > 0) || !std::isfinite(size)) return false;
    const Vec p0 = toVec(origin);
    const Vec p1 = p0 + d * (length / size);
    // Nothing to do for a segment whose bounds miss the mesh's.
    if (std::max(p0.x, p1.x) < low_.x - kTouch || std::min(p0.x, p1.x) > high_.x + kTouch ||
        std::max(p0.y, p1.y) < low_.y - kTouch || std::min(p0.y, p1.y) > high_.y + kTouch ||
        std::max(p0.z, p1.z) < low_.z - kTouch || std::min(p0.z, p1.z) > high_.z + kTouch)
        return false;
    return std::any_of(triangles_.begin(), triangles_.end(),
                       [&](const Triangle& t) { return segmentTouchesTriangle(p0, p1, t); });
}

bool CollisionModel::sphereHit(const float centre[3], float radius) const {
    if (!finite(centre) || !std::isfinite(radius) || radius < 0) return false;
    const Vec c = toVec(centre);
    const double reach = radius + kTouch;
    const Vec nearest{std::clamp(c.x, low_.x, high_.x), std::clamp(c.y, low_.y, high_.y),
                      std::clamp(c.z, low_.z, high_.z)};
    if (length2(c - nearest) > reach * reach) return false;
    return std::any_of(triangles_.begin(), triangles_.end(), [&](const Triangle& t) {
        return length2(c - closestOnTriangle(c, t)) <= reach * reach;
    });
}

CollisionModel vokaCollisionBox() {
    constexpr float x0 = -0.133f, x1 = 0.133f, y0 = 0.0f, y1 = 0.427f, z0 = -0.555f, z1 = 0.1f;
    using P = CollisionModel::Point;
    // Two triangles a face: rear z1, front z0, bottom y0, top y1, left x0, right x1.
    const P quads[6][4] = {
        {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}},
        {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}},
        {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}},
        {{x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}},
        {{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}},
        {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}},
    };
    CollisionModel box;
    for (const auto& q : quads) {
        box.addTriangle(q[0], q[1], q[2]);
        box.addTriangle(q[0], q[2], q[3]);
    }
    return box;
}
