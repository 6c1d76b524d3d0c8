#pragma once

// The match in the game's state machine, in a real window, against a scripted server on
// loopback that numbers the client 1 and names level 2 in the start's first pause.
#include <GL/freeglut.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "combat/model_store.h"
#include "combat/prototypes.h"
#include "loopback.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "screen_fixture.h"
#include "support/captured_errors.h"
#include "support/e2e_runner.h"
#include "world/level_registry.h"
#include "world/load_levels.h"

class MatchTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        testing_support::copyGameData(dir.path());
        loadLevels();
        LevelRegistry::instance().setCurrentLevel(-1);
        registerPrototypes();
        std::atomic<float> progress{0.0f};
        ModelStore::loadPrototypes(progress);
        ModelStore::uploadPrototypes();
        Settings::setServerIp("127.0.0.1");
        Settings::setServerPort(listener.port());
        Settings::setPlayerName("me");
        Settings::setVokaType(TYPE_VOKA_GREEN);
        Settings::setKeyRailGun('7');
        Settings::setFov(75.0);
        game = makeGame();
    }
    // A game whose match pauses and keeps time as the test says, silently.
    std::unique_ptr<Game> makeGame(MatchServices services = {}) {
        services.sleep = [this](std::uint32_t ms) { pause(ms); };
        services.clockMs = [this] { return clockMs; };
        services.world.playSample = [](std::int32_t) {};
        auto made = std::make_unique<Game>(GameState::Menu, std::move(services));
        made->resize(kWidth, kHeight);
        return made;
    }
    void TearDown() override {
        game.reset();
        ModelStore::reset();
        ScreenTest::TearDown();
    }

    // The match start's pauses: the first lets the server number the client and name
    // level 2, the second is where the info request has gone out.
    void pause(std::uint32_t ms) {
        pauses.push_back(ms);
        if (pauses.size() == 1) {
            server = loopback::Peer(listener.accept());
            server.send(net::encodeClientNumber(1));
            server.send(net::encodeLevel(2));
            EXPECT_TRUE(
                loopback::eventually([] { return LevelRegistry::instance().currentLevel() == 2; }));
        } else {
            beforeAnnouncement = until(net::MSG_INFO_REQUEST);
        }
    }
    // The types of what the client sent up to and including the first of `type`, the
    // stream of pose updates left out.
    std::vector<std::uint8_t> until(std::uint8_t type) {
        std::vector<std::uint8_t> types;
        const bool came = loopback::eventually(
            [&] {
                const auto message = loopback::readMessage(server, &net::clientMessageLength);
                if (!message) return false;
                last = *message;
                if (message->type() != net::MSG_UPDATE) types.push_back(message->type());
                return message->type() == type;
            },
            10000);
        EXPECT_TRUE(came && last.type() == type) << "no message of type " << int{type};
        return types;
    }
    void startMatch() {
        game->setState(GameState::Playing);
        ASSERT_TRUE(game->getMatch());
        ASSERT_EQ(pauses, (std::vector<std::uint32_t>{1000, 1000}));
    }
    // A frame of the game, 20 ms after the last.
    void frame() {
        clockMs += 20;
        game->idle();
        game->display();
    }

    loopback::Listener listener;
    loopback::Peer server;
    std::vector<std::uint32_t> pauses;
    std::vector<std::uint8_t> beforeAnnouncement;
    net::WireMessage last;
    float clockMs = 5000;
    testing_support::CapturedErrors errors;
};
