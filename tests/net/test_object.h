#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "loopback.h"
#include "net/net_client.h"
#include "net/net_object.h"
#include "net/protocol/game_codes.h"

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

// Stands in for the World of one client: an announced object becomes a TestObject that
// it keeps only if the client registers it. A removal destroys the object unless the
// type code names the other kind (the World keeps Vokas and projectiles in separate
// tables), or every removal is refused. Handlers run on the receiving thread, hence
// the lock.
class RemoteWorld {
  public:
    explicit RemoteWorld(net::NetClient& client, bool refuseRemovals = false)
        : client_(client), refuseRemovals_(refuseRemovals) {
        client.setNewObjectHandler(
            this, [](void* self, std::int32_t id, std::uint8_t type, net::Pose pose) {
                auto& world = *static_cast<RemoteWorld*>(self);
                std::lock_guard<std::mutex> guard(world.lock_);
                auto object = std::make_unique<TestObject>(id, type, pose);
                if (!world.client_.registerRemote(*object)) return std::int32_t{-1};
                world.objects_[id] = std::move(object);
                return std::int32_t{0};
            });
        client.setRemoveObjectHandler(this, [](void* self, std::int32_t id, std::uint8_t type) {
            auto& world = *static_cast<RemoteWorld*>(self);
            std::lock_guard<std::mutex> guard(world.lock_);
            const auto found = world.objects_.find(id);
            if (world.refuseRemovals_ || found == world.objects_.end() ||
                isVokaType(found->second->netType()) != isVokaType(type))
                return std::int32_t{-1};
            world.objects_.erase(found);
            return std::int32_t{0};
        });
    }
    // The receiving thread must not outlive the objects it moves.
    ~RemoteWorld() { client_.disconnect(); }

    std::size_t size() { return poses().size(); }
    std::map<std::int32_t, net::Pose> poses() {
        std::lock_guard<std::mutex> guard(lock_);
        std::map<std::int32_t, net::Pose> all;
        for (const auto& [id, object] : objects_) all[id] = object->netPose().load();
        return all;
    }

  private:
    net::NetClient& client_;
    bool refuseRemovals_;
    std::mutex lock_;
    std::map<std::int32_t, std::unique_ptr<TestObject>> objects_;
};
