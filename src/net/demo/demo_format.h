#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/protocol/game_codes.h"
#include "net/protocol/wire_message.h"
#include "render/body.h"

// A demo file: a 72-byte header, then records, all little-endian with fixed-size fields
// (the layout is written down in the repository's README, "Demo files").
//
//   header   "VOKADEMO", u32 version, i32 level, i32 Voka type, char name[52] (NUL-padded)
//   'P'      a pause of the match start: u32 count, messages
//   'F'      a frame: f32 game clock (ms), f32 frame time (s), f32 pose[6], f32 look yaw,
//            f32 look pitch, f32 camera offset[3], i32 weapon, i32 speed, u8 fire button,
//            u8 dead, u32 count, messages (the weapon is 2 or 7)
//   'E'      the end: u32 number of 'F' records; nothing may follow
//
// A message is u8 length and its bytes as the server sent them, type byte first.
namespace demo {

inline constexpr char kMagic[8] = {'V', 'O', 'K', 'A', 'D', 'E', 'M', 'O'};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kNameBytes = 52;
inline constexpr std::size_t kHeaderBytes = 72;
// Far above an hour of a full match; a larger file is refused before it is read.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;

struct Header {
    std::int32_t level = 1;
    std::int32_t vokaType = 0;
    std::string playerName;
};

// What the player's side of one frame was. Pose and look are in world units and
// degrees; the look's yaw and pitch are the turret's, relative to the Voka.
struct Frame {
    float clockMs = 0.0f;
    float frameTime = 0.0f;
    Pose pose;
    float lookYaw = 0.0f;
    float lookPitch = 0.0f;
    float cameraOffset[3] = {0.0f, 0.0f, 0.0f};
    std::int32_t weapon = WEAPON_MG;
    std::int32_t speed = 0;
    bool fire = false;
    bool dead = false;
};

struct Record {
    enum class Kind : std::uint8_t { Pause = 'P', Frame = 'F' };
    Kind kind = Kind::Frame;
    Frame frame;  // a Frame record's only
    std::vector<net::WireMessage> messages;
};

struct Demo {
    Header header;
    std::vector<Record> records;
    std::size_t frameCount = 0;
};

std::vector<std::uint8_t> encodeHeader(const Header& header);
void appendRecord(std::vector<std::uint8_t>& out, const Record& record);
void appendEnd(std::vector<std::uint8_t>& out, std::uint32_t frameCount);

// A whole demo, or why it is refused: truncated, of a newer version, or garbled.
struct ReadResult {
    std::optional<Demo> demo;
    std::string error;
};
ReadResult readDemo(const std::uint8_t* bytes, std::size_t size);
// The file at `path`, refused (without reading it) above kMaxFileBytes. Errors begin
// with the path.
ReadResult loadDemo(const std::string& path);

// Writes a demo file as it is played; the end record goes out with finish. Any failure
// (the disk full, the file gone) leaves the writer failed with the reason; nothing more
// is written then.
class Writer {
  public:
    Writer() = default;
    // Creates or truncates `path` and writes the header; false with the reason in error().
    bool open(const std::string& path, const Header& header);
    bool write(const Record& record);
    // The end record, then the file is closed.
    bool finish();
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

  private:
    struct Close {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    bool put(const std::vector<std::uint8_t>& bytes);
    void fail(const char* what);

    std::unique_ptr<std::FILE, Close> file_;
    std::string path_;
    std::string error_;
    std::uint32_t frames_ = 0;
};

}  // namespace demo
