#include "render/frustum.h"

#include <GL/gl.h>

#include <cmath>

Frustum& Frustum::instance() {
    static Frustum frustum;
    return frustum;
}

void Frustum::extract() {
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    extract(projection, modelview);
}

void Frustum::extract(const float p[16], const float m[16]) {
    // Clip matrix K = P × M, using only P[0], P[5], P[10], P[11] and P[14]: the other
    // entries of a symmetric perspective projection are zero.
    float k[16];
    for (int i = 0; i < 4; ++i) {
        k[4 * i] = m[4 * i] * p[0];
        k[4 * i + 1] = m[4 * i + 1] * p[5];
        k[4 * i + 2] = m[4 * i + 2] * p[10] + m[4 * i + 3] * p[14];
        k[4 * i + 3] = m[4 * i + 2] * p[11];
    }
    // Each plane is row 3 of K plus or minus row 0, 1 or 2.
    constexpr struct {
        int row;
        float sign;
    } kRows[kPlaneCount] = {{0, -1.0f}, {0, 1.0f}, {1, 1.0f}, {1, -1.0f}, {2, -1.0f}, {2, 1.0f}};
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        float* out = planes_[plane];
        for (int column = 0; column < 4; ++column) {
            out[column] = k[4 * column + 3] + kRows[plane].sign * k[4 * column + kRows[plane].row];
        }
        const float length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        if (length > 0.0f) {
            for (float& value : planes_[plane]) value /= length;
        }
    }
}

bool Frustum::sphereVisible(float x, float y, float z, float radius) const {
    for (const float* p : planes_) {
        if (p[0] * x + p[1] * y + p[2] * z + p[3] <= -radius) return false;
    }
    return true;
}
