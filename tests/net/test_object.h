#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "loopback.h"
#include "net/net_client.h"
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

// Stands in for the World of one client: every announced object becomes a TestObject
// registered with the client, and a removal destroys it. Handlers run on the receiving
// thread, hence the lock.
class RemoteWorld {
  public:
    explicit RemoteWorld(net::NetClient& client) : client_(client) {
        client.setNewObjectHandler(
            this, [](void* self, std::int32_t id, std::uint8_t type, net::Pose pose) {
                auto& world = *static_cast<RemoteWorld*>(self);
                std::lock_guard<std::mutex> guard(world.lock_);
                auto& object = world.objects_[id];
                object = std::make_unique<TestObject>(id, type, pose);
                world.client_.registerRemote(*object);
                return std::int32_t{0};
            });
        client.setRemoveObjectHandler(this, [](void* self, std::int32_t id, std::uint8_t) {
            auto& world = *static_cast<RemoteWorld*>(self);
            std::lock_guard<std::mutex> guard(world.lock_);
            return world.objects_.erase(id) == 1 ? std::int32_t{0} : std::int32_t{-1};
        });
    }
    // The receiving thread must not outlive the objects it moves.
    ~RemoteWorld() { client_.disconnect(); }

    std::size_t size() {
        std::lock_guard<std::mutex> guard(lock_);
        return objects_.size();
    }
    std::optional<net::Pose> poseOf(std::int32_t id) {
        std::lock_guard<std::mutex> guard(lock_);
        const auto found = objects_.find(id);
        if (found == objects_.end()) return std::nullopt;
        return found->second->netPose().load();
    }
    std::vector<net::Pose> poses() {
        std::lock_guard<std::mutex> guard(lock_);
        std::vector<net::Pose> all;
        for (const auto& [id, object] : objects_) all.push_back(object->netPose().load());
        return all;
    }

  private:
    net::NetClient& client_;
    std::mutex lock_;
    std::map<std::int32_t, std::unique_ptr<TestObject>> objects_;
};
