#pragma once

// Where an object is and how it moves. The world's ground plane is x-y with z up;
// angles are in degrees, times in seconds.

struct Pose {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float rotX = 0.0f;
    float rotY = 0.0f;
    float rotZ = 0.0f;
};

// True when x, y and z are finite numbers. Objects skip drawing at a position that is
// not, so that no NaN reaches the matrix stack.
bool hasFinitePosition(const Pose& pose);

// Pose, velocity, accumulated force and mass, integrated once a frame. The pose comes
// first: it is the record the network sends for the object.
class Body {
  public:
    void setPose(const Pose& pose) { pose_ = pose; }
    Pose getPose() const { return pose_; }
    void setVelocity(float x, float y, float z) {
        velocity_[0] = x;
        velocity_[1] = y;
        velocity_[2] = z;
    }
    const float* getVelocity() const { return velocity_; }
    void setMass(float mass) { mass_ = mass; }
    void addForce(float x, float y, float z) {
        force_[0] += x;
        force_[1] += y;
        force_[2] += z;
    }
    void setForce(float x, float y, float z) {
        force_[0] = x;
        force_[1] = y;
        force_[2] = z;
    }
    const float* getForce() const { return force_; }

    // velocity += force / mass * dt, then position += velocity * dt with the new
    // velocity. Rotations are not integrated. Without mass the force is ignored.
    void integrate(float dt);

  private:
    Pose pose_;
    float velocity_[3] = {0.0f, 0.0f, 0.0f};
    float force_[3] = {0.0f, 0.0f, 0.0f};
    float mass_ = 0.0f;
};
