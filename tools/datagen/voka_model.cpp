#include "voka_model.h"

#include <cmath>

namespace datagen {
namespace {

constexpr float kRear = 0.1f;
constexpr float kFront = -0.555f;

// One cross-section of the body: bottom height, belt-line height and half-width, roof
// height and half-width.
struct Station {
    float z, bottom, belt, width, roof, roofWidth;
};

// From the rear bumper to the nose. The bottom rises over the wheels so that they show,
// and drops to side skirts between them.
const Station kStations[] = {
    {0.100f, 0.170f, 0.250f, 0.095f, 0.270f, 0.080f},
    {0.085f, 0.200f, 0.285f, 0.116f, 0.300f, 0.100f},
    {0.020f, 0.215f, 0.290f, 0.124f, 0.310f, 0.110f},
    {-0.070f, 0.210f, 0.290f, 0.125f, 0.320f, 0.110f},
    {-0.115f, 0.125f, 0.290f, 0.125f, 0.380f, 0.096f},
    {-0.150f, 0.115f, 0.290f, 0.125f, 0.420f, 0.090f},
    {-0.250f, 0.115f, 0.285f, 0.125f, 0.420f, 0.090f},
    {-0.300f, 0.120f, 0.280f, 0.125f, 0.360f, 0.100f},
    {-0.345f, 0.195f, 0.270f, 0.124f, 0.300f, 0.110f},
    {-0.450f, 0.205f, 0.250f, 0.120f, 0.275f, 0.105f},
    {-0.520f, 0.185f, 0.218f, 0.108f, 0.238f, 0.094f},
    {-0.552f, 0.168f, 0.200f, 0.088f, 0.214f, 0.074f},
};

struct RingPoint {
    float x, y, v;
};

// Corner-cutting that keeps both ends: rounds the template into a smooth section.
std::vector<RingPoint> chaikin(const std::vector<RingPoint>& in, int passes) {
    std::vector<RingPoint> pts = in;
    for (int p = 0; p < passes; ++p) {
        std::vector<RingPoint> next{pts.front()};
        for (size_t i = 0; i + 1 < pts.size(); ++i) {
            const RingPoint& a = pts[i];
            const RingPoint& b = pts[i + 1];
            next.push_back(
                {0.75f * a.x + 0.25f * b.x, 0.75f * a.y + 0.25f * b.y, 0.75f * a.v + 0.25f * b.v});
            next.push_back(
                {0.25f * a.x + 0.75f * b.x, 0.25f * a.y + 0.75f * b.y, 0.25f * a.v + 0.75f * b.v});
        }
        next.push_back(pts.back());
        pts = next;
    }
    return pts;
}

// The section as a polyline from the bottom centre round the right side, over the roof and
// down the left side back to the bottom centre.
std::vector<RingPoint> section(const Station& s, int passes) {
    const float w = s.width;
    const float rw = s.roofWidth;
    std::vector<RingPoint> right = {
        {0, s.bottom, 0},
        {w * 0.8f, s.bottom, VokaBands::kSkirt * 0.6f},
        {w, s.bottom + 0.02f, VokaBands::kSkirt},
        {w, s.belt, VokaBands::kBelt},
        {rw, s.roof - 0.012f, VokaBands::kRoof},
        {rw * 0.75f, s.roof, 0.36f},
        {0, s.roof + 0.003f, 0.5f},
    };
    std::vector<RingPoint> loop = right;
    for (int i = static_cast<int>(right.size()) - 2; i >= 0; --i) {
        loop.push_back({-right[static_cast<size_t>(i)].x, right[static_cast<size_t>(i)].y,
                        1 - right[static_cast<size_t>(i)].v});
    }
    return chaikin(loop, passes);
}

MeshObject body(Detail detail) {
    const int passes = pick(detail, 2, 1, 0);
    std::vector<std::vector<Vec3>> rings;
    std::vector<float> us;
    std::vector<float> vs;
    // The far model keeps only the stations that shape the silhouette.
    const std::vector<int> farStations = {0, 1, 3, 4, 6, 7, 8, 10, 11};
    std::vector<int> chosen = farStations;
    if (detail != Detail::Far) {
        chosen.clear();
        for (int i = 0; i < static_cast<int>(std::size(kStations)); ++i) chosen.push_back(i);
    }
    for (int i : chosen) {
        const Station& s = kStations[i];
        const std::vector<RingPoint> pts = section(s, passes);
        std::vector<Vec3> ring;
        for (size_t k = 0; k + 1 < pts.size(); ++k) ring.push_back({pts[k].x, pts[k].y, s.z});
        if (vs.empty()) {
            for (size_t k = 0; k + 1 < pts.size(); ++k) vs.push_back(pts[k].v);
            vs.push_back(1.0f);
        }
        rings.push_back(ring);
        us.push_back(vokaBodyU(s.z));
    }
    // Nose and tail take the plain paint of the lower flanks.
    MeshObject o = loft(rings, us, vs, 0.15f);
    o.name = "body";
    o.material = 0;
    return o;
}

// A wheel about the x axis: tyre with a rounded tread, recessed rim and a hub cap. Texture
// v: 0 to 0.25 inner side, 0.25 to 0.75 tread, 0.75 to 1 the outer face with the rim.
MeshObject wheel(Detail detail, float radius, Vec3 centre, float side) {
    const float w = 0.052f;
    const float r = radius;
    std::vector<Vec2> profile;
    std::vector<float> vs;
    std::vector<int> hard;
    if (detail == Detail::Far) {
        profile = {{-w / 2, 0}, {-w / 2, r}, {w / 2, r}, {w / 2, 0}};
        vs = {0.1f, 0.25f, 0.75f, 0.99f};
        hard = {1, 2};
    } else {
        profile = {{-w / 2, 0.0f},
                   {-w / 2, r * 0.55f},
                   {-w / 2, r * 0.8f},
                   {-w / 2 + 0.006f, r * 0.96f},
                   {-w / 2 + 0.014f, r},
                   {w / 2 - 0.014f, r},
                   {w / 2 - 0.006f, r * 0.96f},
                   {w / 2, r * 0.8f},
                   {w / 2, r * 0.62f},
                   {w / 2 - 0.008f, r * 0.58f},
                   {w / 2 - 0.008f, r * 0.2f},
                   {w / 2 + 0.004f, r * 0.16f},
                   {w / 2 + 0.004f, 0.0f}};
        vs = {0.0f, 0.1f, 0.2f, 0.25f, 0.3f, 0.7f, 0.75f, 0.8f, 0.82f, 0.84f, 0.95f, 0.97f, 1.0f};
        hard = {1, 8, 9, 10};
        if (detail == Detail::Middle) {
            profile = {{-w / 2, 0.0f},
                       {-w / 2, r * 0.8f},
                       {-w / 2 + 0.01f, r},
                       {w / 2 - 0.01f, r},
                       {w / 2, r * 0.8f},
                       {w / 2, r * 0.6f},
                       {w / 2 - 0.008f, r * 0.58f},
                       {w / 2 - 0.008f, 0.0f}};
            vs = {0.0f, 0.2f, 0.3f, 0.7f, 0.8f, 0.82f, 0.84f, 1.0f};
            hard = {1, 5, 6};
        }
    }
    // The outer face looks away from the car on both sides.
    for (Vec2& p : profile) p.x *= side;
    return lathe(profile, pick(detail, 22, 10, 6), 0, centre, hard, vs);
}

MeshObject wheelSet(Detail detail, float radius, float y, float z, const char* name) {
    MeshObject o;
    const float x = 0.133f - 0.026f - 0.004f;  // the hub cap stands 0.004 proud
    o.append(wheel(detail, radius, {x, y, z}, 1));
    o.append(wheel(detail, radius, {-x, y, z}, -1));
    o.name = name;
    o.material = 2;
    return o;
}

MeshObject chassis(Detail detail) {
    MeshObject o;
    o.name = "chassis";
    o.material = 1;
    const int seg = pick(detail, 10, 6, 4);
    // Frame rails and skid plate between the wheels.
    o.append(box({-0.07f, 0.07f, -0.52f}, {0.07f, 0.13f, 0.08f}));
    // Axles, along x.
    o.append(lathe({{-0.085f, 0}, {-0.085f, 0.014f}, {0.085f, 0.014f}, {0.085f, 0}}, seg, 0,
                   {0, 0.097f, -0.461f}, {1, 2}));
    o.append(lathe({{-0.085f, 0}, {-0.085f, 0.014f}, {0.085f, 0.014f}, {0.085f, 0}}, seg, 0,
                   {0, 0.1f, 0}, {1, 2}));
    // Push bar at the nose and a bumper at the tail.
    o.append(box({-0.1f, 0.13f, -0.555f}, {0.1f, 0.165f, -0.53f}));
    // Radiator grille between the headlamps.
    o.append(box({-0.036f, 0.172f, -0.556f}, {0.036f, 0.2f, -0.54f}));
    o.append(box({-0.085f, 0.14f, 0.075f}, {0.085f, 0.175f, 0.1f}));
    if (detail != Detail::Far) {
        // Twin exhausts at the tail, along z.
        for (float x : {-0.05f, 0.05f}) {
            o.append(lathe({{-0.03f, 0}, {-0.03f, 0.011f}, {0.03f, 0.011f}, {0.03f, 0}}, seg, 2,
                           {x, 0.12f, 0.07f}, {1, 2}));
        }
        // Rear wing on two struts.
        o.append(box({-0.06f, 0.3f, 0.06f}, {-0.05f, 0.335f, 0.08f}));
        o.append(box({0.05f, 0.3f, 0.06f}, {0.06f, 0.335f, 0.08f}));
        o.append(prism({{-0.118f, 0.335f}, {0.118f, 0.335f}, {0.118f, 0.345f}, {-0.118f, 0.35f}},
                       0.045f, 0.098f));
    }
    return o;
}

// The post on the left of the windscreen that carries the weapons' turntable: the turret
// turns about (-0.158, 0.4, -0.3), just outside the body, and the weapons bring their own
// yoke and turntable.
MeshObject mount(Detail detail) {
    MeshObject o;
    o.name = "mount";
    o.material = 3;
    o.append(box({-0.133f, 0.27f, -0.318f}, {-0.112f, 0.382f, -0.282f}));
    o.append(box({-0.126f, 0.25f, -0.33f}, {-0.1f, 0.29f, -0.27f}));
    if (detail != Detail::Far) {
        // Brace back to the roof pillar.
        o.append(box({-0.128f, 0.33f, -0.285f}, {-0.105f, 0.345f, -0.24f}));
    }
    return o;
}

MeshObject lamps(Detail detail, bool front) {
    MeshObject o;
    o.name = front ? "headlights" : "taillights";
    o.material = front ? 4 : 5;
    const int seg = pick(detail, 12, 8, 4);
    for (float x : {-0.062f, 0.062f}) {
        if (front) {
            o.append(lathe({{0.0f, 0}, {0.0f, 0.02f}, {0.012f, 0.018f}, {0.012f, 0}}, seg, 2,
                           {x, 0.205f, -0.556f}, {1, 2}));
        } else {
            o.append(box({x - 0.025f, 0.215f, 0.09f}, {x + 0.025f, 0.24f, 0.1f}));
        }
    }
    return o;
}

}  // namespace

float vokaBodyU(float z) {
    return (kRear - z) / (kRear - kFront);
}

Model vokaModel(Detail detail, const std::string& bodyTexture) {
    Model m;
    m.materials = {
        {"paint", 255, 255, 255, bodyTexture},     {"chassis", 46, 48, 52, ""},
        {"tyre", 255, 255, 255, "voka_wheel.tga"}, {"gunmetal", 78, 82, 90, ""},
        {"headlamp", 255, 244, 200, ""},           {"taillamp", 220, 30, 20, ""},
    };
    m.objects.push_back(body(detail));
    m.objects.push_back(chassis(detail));
    m.objects.push_back(mount(detail));
    // The front wheels turn about (0, 0.097, -0.461); a radius of 0.094 keeps the tread
    // inside the nose of the collision box.
    m.objects.push_back(wheelSet(detail, 0.094f, 0.097f, -0.461f, "wheels_front"));
    m.objects.push_back(wheelSet(detail, 0.1f, 0.1f, 0.0f, "wheels_rear"));
    m.objects.push_back(lamps(detail, true));
    m.objects.push_back(lamps(detail, false));
    return m;
}

}  // namespace datagen
