#pragma once

#include <cstdint>

#include "net/net_object.h"

// A match object as the network sees it, for the tests.
class TestObject : public net::NetObject {
  public:
    TestObject(std::int32_t id, std::uint8_t type, const net::Pose& pose = {})
        : id_(id), type_(type), pose_(pose) {}

    std::int32_t netId() const override { return id_; }
    std::uint8_t netType() const override { return type_; }
    net::SharedPose& netPose() override { return pose_; }

  private:
    std::int32_t id_;
    std::uint8_t type_;
    net::SharedPose pose_;
};
