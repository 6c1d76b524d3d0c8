#pragma once

// The match's one light: a white directional sun without ambient or specular light.
// Its position has w = 0, so the light comes from the direction of (x, y, z) at every
// point of the world.
class SunLight {
  public:
    SunLight(float x, float y, float z);

    // Sets OpenGL light 0 from the four records and enables it. The position is taken
    // through the modelview matrix current at that moment, so this runs once a frame
    // right after the camera transform.
    void apply() const;
    void getPosition(float& x, float& y, float& z) const;

    const float* ambient() const { return ambient_; }
    const float* diffuse() const { return diffuse_; }
    const float* specular() const { return specular_; }
    const float* position() const { return position_; }

  private:
    float ambient_[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float specular_[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float position_[4];
};
