#include "combat/beam_geometry.h"

#include <cmath>

namespace {

BeamVec operator+(BeamVec a, BeamVec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
BeamVec operator-(BeamVec a, BeamVec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
BeamVec operator*(float k, BeamVec a) {
    return {k * a.x, k * a.y, k * a.z};
}
float dot(BeamVec a, BeamVec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
BeamVec cross(BeamVec a, BeamVec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float length(BeamVec a) {
    return std::sqrt(dot(a, a));
}
bool finite(BeamVec a) {
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}

// `a` scaled to unit length, or `fallback` when it has no length to scale.
BeamVec normalisedOr(BeamVec a, BeamVec fallback) {
    const float l = length(a);
    return l > 0.0f && std::isfinite(l) ? (1.0f / l) * a : fallback;
}

void quad(std::vector<BeamCorner>& out, const BeamCorner (&corners)[4]) {
    out.insert(out.end(), std::begin(corners), std::end(corners));
}

// A square of side k facing the camera, larger with distance beyond 40 units so that a
// far spot stays visible.
void spot(std::vector<BeamCorner>& out, BeamVec s, const BeamCamera& camera) {
    const float depth = dot(s - camera.eye, camera.aim);
    const float k = depth < 40.0f ? 1.0f : 1.0f + 0.004f * depth;
    const BeamVec a = (0.5f * k) * camera.side;
    const BeamVec b = (0.5f * k) * camera.up;
    quad(out, {{s - a - b, 0.0f, 0.0f},
               {s - a + b, 1.0f, 0.0f},
               {s + a + b, 1.0f, 1.0f},
               {s + a - b, 0.0f, 1.0f}});
}

// A band seen flat from the camera: a rounded cap, the body, and a second cap, 1 unit
// wide at the start and 4 at the end. Where the beam points straight at the camera the
// camera's own axes stand in for the band's.
void band(std::vector<BeamCorner>& out, BeamVec s, BeamVec extent, const BeamCamera& camera) {
    const BeamVec e = s + extent;
    const auto across = [&](BeamVec point, float sWidth, float uLength, BeamVec& sv, BeamVec& uv) {
        sv = normalisedOr(cross(point - camera.eye, extent), camera.up);
        uv = normalisedOr(cross(extent, sv), camera.side);
        sv = sWidth * sv;
        uv = uLength * uv;
    };
    BeamVec sa, ua, se, ue;
    across(s, 0.5f, 2.0f, sa, ua);
    across(e, 2.0f, 2.0f, se, ue);
    quad(out, {{s + ua + sa, 0.0f, 0.0f},
               {s + ua - sa, 1.0f, 0.0f},
               {s - sa, 1.0f, 0.5f},
               {s + sa, 0.0f, 0.5f}});
    quad(out,
         {{s + sa, 1.0f, 0.5f}, {s - sa, 0.0f, 0.5f}, {e - se, 0.0f, 0.5f}, {e + se, 1.0f, 0.5f}});
    quad(out, {{e - se, 0.0f, 0.5f},
               {e + se, 1.0f, 0.5f},
               {e - ue + se, 1.0f, 1.0f},
               {e - ue - se, 0.0f, 1.0f}});
}

// Two unit vectors across the axis `a` and across each other. The usual seed
// (a.z, -a.x, a.y) is parallel to axes along (1, 1, -1); those take a second seed.
void helixFrame(BeamVec a, BeamVec& p, BeamVec& q) {
    BeamVec seed{a.z, -a.x, a.y};
    BeamVec across = seed - dot(seed, a) * a;
    if (length(across) < 1e-3f) {
        seed = {a.y, a.z, a.x};
        across = seed - dot(seed, a) * a;
    }
    p = normalisedOr(across, BeamVec{});
    q = cross(p, a);
}

void helix(std::vector<BeamCorner>& out, BeamVec s, BeamVec extent, const BeamCamera& camera) {
    const float l = length(extent);
    if (!(l >= 1.0f) || !std::isfinite(l)) return;
    const int steps = l < static_cast<float>(HelixShape::kMaxHelixQuads)
                          ? static_cast<int>(l)
                          : HelixShape::kMaxHelixQuads;
    const BeamVec a = (1.0f / l) * extent;
    BeamVec p, q;
    helixFrame(a, p, q);
    const auto point = [&](int i) {
        const float angle = HelixShape::kRadiansPerUnit * static_cast<float>(i);
        return s + static_cast<float>(i) * a +
               HelixShape::kRadius * (std::sin(angle) * p + std::cos(angle) * q);
    };
    out.reserve(static_cast<std::size_t>(steps) * 4);
    BeamVec from = point(0);
    for (int i = 0; i < steps; ++i) {
        const BeamVec to = point(i + 1);
        // Widened across the ribbon's direction and the line of sight, so that the
        // camera sees its face.
        const BeamVec middle = 0.5f * (from + to);
        const BeamVec w = HelixShape::kHalfWidth *
                          normalisedOr(cross(to - from, middle - camera.eye), camera.side);
        quad(out, {{from + w, 1.0f, 0.5f},
                   {from - w, 0.0f, 0.5f},
                   {to - w, 0.0f, 0.5f},
                   {to + w, 1.0f, 0.5f}});
        from = to;
    }
}

}  // namespace

std::vector<BeamCorner> beamQuads(std::int32_t mode, BeamVec start, BeamVec extent,
                                  const BeamCamera& camera) {
    std::vector<BeamCorner> out;
    if (!finite(start) || !finite(extent) || !finite(camera.eye) || !finite(camera.aim) ||
        !finite(camera.up) || !finite(camera.side))
        return out;
    switch (mode) {
        case BeamMode::Spot:
            spot(out, start, camera);
            break;
        case BeamMode::Band:
            band(out, start, extent, camera);
            break;
        case BeamMode::Helix:
            helix(out, start, extent, camera);
            break;
        default:
            break;
    }
    return out;
}
