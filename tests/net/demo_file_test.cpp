// Demo files: what the writer writes the reader gives back, anything else is refused
// with a reason (random damage is the fuzz target's), and the recorder keeps every
// message the receiving thread saw.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

#include "net/demo/demo_format.h"
#include "net/demo/demo_recorder.h"
#include "net/net_client.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "support/captured_errors.h"
#include "support/temp_dir.h"

namespace {

demo::Record frameRecord(float clockMs, std::vector<net::WireMessage> messages) {
    // Clock, frame time, pose, look yaw and pitch, camera offset, weapon, speed, fire, dead.
    const demo::Frame frame{clockMs, 0.02f, {1, 2, 3, 4, 5, 6}, -30, 0, {0, 0, 16}, WEAPON_RAIL, 0,
                            true,    false};
    return {demo::Record::Kind::Frame, frame, std::move(messages)};
}

// A header, a pause with the client number and the level, two frames, the end.
std::vector<std::uint8_t> sampleDemo() {
    std::vector<std::uint8_t> bytes = demo::encodeHeader({2, 129, "Ada"});
    demo::appendRecord(
        bytes, {demo::Record::Kind::Pause, {}, {net::encodeClientNumber(1), net::encodeLevel(2)}});
    demo::appendRecord(bytes, frameRecord(5000, {net::relay(2, net::encodeUpdate(1, {}))}));
    demo::appendRecord(bytes, frameRecord(5020, {}));
    demo::appendEnd(bytes, 2);
    return bytes;
}

demo::ReadResult read(const std::vector<std::uint8_t>& bytes) {
    return demo::readDemo(bytes.data(), bytes.size());
}

TEST(DemoFile, WhatIsWrittenReadsBackAndEveryShorterFileIsRefused) {
    const std::vector<std::uint8_t> bytes = sampleDemo();
    const demo::ReadResult whole = read(bytes);
    ASSERT_TRUE(whole.demo) << whole.error;
    EXPECT_EQ(whole.demo->header.playerName, "Ada");
    ASSERT_EQ(whole.demo->records.size(), 3u);
    EXPECT_EQ(whole.demo->records[0].messages[1], net::encodeLevel(2));
    const demo::Frame& first = whole.demo->records[1].frame;
    EXPECT_EQ(std::make_tuple(first.pose.rotZ, first.lookYaw, first.cameraOffset[2], first.weapon,
                              first.fire, first.dead),
              std::make_tuple(6.0f, -30.0f, 16.0f, WEAPON_RAIL, true, false));
    EXPECT_EQ(whole.demo->records[2].frame.clockMs, 5020);
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(demo::readDemo(bytes.data(), size).demo) << size;
}

TEST(DemoFile, NewerGarbledAndOversizedFilesAreRefusedWithTheReason) {
    const std::vector<std::uint8_t> good = sampleDemo();
    const std::size_t pause = demo::kHeaderBytes;
    const std::size_t frame = pause + 1 + 4 + 2 * (1 + 12);
    // The clock's top two bytes 0xFFFF make a NaN.
    const std::tuple<std::size_t, std::uint8_t, const char*> cases[] = {
        {0, 'X', "not a demo"},
        {8, 2, "version 2 is newer"},
        {8, 0, "version 0"},
        {pause, 'Q', "unknown kind"},
        {pause + 5, 11, "wrong length"},
        {pause + 1, 200, "message count"},
        {frame + 4, 0xFF, "not finite"},
        {frame + 53, 3, "no such weapon"},
        {good.size() - 4, 3, "frame count"},
        {good.size(), 0, "after the end"}};
    for (const auto& [at, value, reason] : cases) {
        std::vector<std::uint8_t> bytes = good;
        bytes.resize(std::max(at + 1, good.size()));
        bytes[at] = value;
        if (at == frame + 4) bytes[at - 1] = 0xFF;
        EXPECT_NE(read(bytes).error.find(reason), std::string::npos) << read(bytes).error;
    }
    std::vector<std::uint8_t> unnamed = good;
    std::fill(unnamed.begin() + 20, unnamed.begin() + demo::kHeaderBytes, 'a');
    EXPECT_NE(read(unnamed).error.find("name"), std::string::npos);

    testing_support::TempDir dir;
    const std::string huge = dir.path() + "/huge.demo";
    std::ofstream(huge) << "VOKADEMO";
    std::filesystem::resize_file(huge, demo::kMaxFileBytes + 1);
    EXPECT_EQ(demo::loadDemo(huge).error, huge + ": larger than 64 MiB, not a demo");
}

// The receiving thread taps messages while the main thread writes frames: the file
// holds every one, in order.
TEST(DemoRecorder, KeepsEveryMessageTheReceivingThreadSaw) {
    testing_support::TempDir dir;
    const std::string path = dir.path() + "/taken.demo";
    constexpr int kMessages = 3000;
    {
        net::NetClient client;
        demo::Recorder recorder(path);
        recorder.attach(client);
        std::thread receiving([&client] {
            for (int i = 0; i < kMessages; ++i) {
                const net::WireMessage m = net::relay(2, net::encodeUpdate(i, {}));
                net::NetClient::dispatch(&client, m.type(), m.body(), m.length);
            }
        });
        recorder.pause();
        recorder.begin({1, 128, "me"});
        for (int frame = 0; frame < 50; ++frame) recorder.frame({});
        receiving.join();
        recorder.frame({});
    }
    const demo::ReadResult result = demo::loadDemo(path);
    ASSERT_TRUE(result.demo) << result.error;
    EXPECT_EQ(result.demo->frameCount, 51u);
    int next = 0;
    for (const demo::Record& record : result.demo->records)
        for (const net::WireMessage& m : record.messages)
            EXPECT_EQ(net::decodeServerMessage(m.bytes.data(), m.length)->id & 0xFFFF, next++);
    EXPECT_EQ(next, kMessages);
}

TEST(DemoRecorder, AWriteErrorStopsTheRecordingWithOneMessage) {
    testing_support::CapturedErrors errors;
    {
        demo::Recorder recorder("/dev/full");
        recorder.begin({1, 128, "me"});
        for (int frame = 0; frame < 1000 && !recorder.stopped(); ++frame) recorder.frame({});
        EXPECT_TRUE(recorder.stopped());
        recorder.frame({});
    }
    ASSERT_EQ(errors.texts().size(), 1u);
    EXPECT_EQ(errors.texts()[0].rfind("demo recording stopped: /dev/full: could not be written", 0),
              0u);
}

}  // namespace
