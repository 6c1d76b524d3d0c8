#pragma once

// A 4 × 4 float matrix built the way OpenGL's fixed-function matrix stack builds one, so
// that code without a window (collision tests, the camera's inverse, computer players)
// computes the same matrix a draw would read back with glGetFloatv. Column-major, as
// OpenGL stores it: element (row r, column c) is m[c * 4 + r]. Each operation multiplies
// on the right, like its gl* namesake, so the last one named applies to a point first.
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Matrix4 identity() { return {}; }

    // As glTranslatef.
    Matrix4& translate(float x, float y, float z);
    // As glRotatef: `degrees` about the axis (x, y, z), which need not be unit length.
    // An axis of (almost) zero length leaves the matrix as it is.
    Matrix4& rotate(float degrees, float x, float y, float z);
    // As glScalef.
    Matrix4& scale(float x, float y, float z);
    // As glMultMatrixf: this × other.
    Matrix4& multiply(const Matrix4& other);

    // out = this × in, for four-component column vectors; `out` may be `in`.
    void transform(const float* in, float* out) const;
};

// a × b.
Matrix4 operator*(const Matrix4& a, const Matrix4& b);
