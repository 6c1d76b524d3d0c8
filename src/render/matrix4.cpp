#include "render/matrix4.h"

#include <cmath>

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            product.m[column * 4 + row] = sum;
        }
    }
    return product;
}

Matrix4& Matrix4::multiply(const Matrix4& other) {
    *this = *this * other;
    return *this;
}

Matrix4& Matrix4::translate(float x, float y, float z) {
    // Only the last column changes: it gains the first three columns weighted by (x, y, z).
    for (int row = 0; row < 4; ++row) m[12 + row] += m[row] * x + m[4 + row] * y + m[8 + row] * z;
    return *this;
}

Matrix4& Matrix4::scale(float x, float y, float z) {
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
    return *this;
}

Matrix4& Matrix4::rotate(float degrees, float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 1.0e-4f)) return *this;
    x /= length;
    y /= length;
    z /= length;
    const float radians = degrees * static_cast<float>(M_PI / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    const float t = 1.0f - c;
    Matrix4 r;
    r.m[0] = x * x * t + c;
    r.m[1] = y * x * t + z * s;
    r.m[2] = x * z * t - y * s;
    r.m[4] = x * y * t - z * s;
    r.m[5] = y * y * t + c;
    r.m[6] = y * z * t + x * s;
    r.m[8] = x * z * t + y * s;
    r.m[9] = y * z * t - x * s;
    r.m[10] = z * z * t + c;
    return multiply(r);
}

void Matrix4::transform(const float* in, float* out) const {
    float result[4];
    for (int row = 0; row < 4; ++row) {
        result[row] =
            m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    }
    for (int row = 0; row < 4; ++row) out[row] = result[row];
}
