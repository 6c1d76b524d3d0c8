#include "net/demo/demo_format.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iterator>

#include "net/protocol/message_types.h"

namespace demo {

namespace {

constexpr std::uint8_t kEnd = 'E';
// The fixed part of a frame record after its kind byte: 16 floats and words, 2 bytes.
constexpr std::size_t kFrameFieldBytes = 16 * 4 + 2;

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putF32(std::vector<std::uint8_t>& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(out, bits);
}

// Reads forward through the bytes; every read past the end sets `short_` and returns 0.
class Cursor {
  public:
    Cursor(const std::uint8_t* bytes, std::size_t size) : at_(bytes), left_(size) {}

    bool take(std::size_t count) {
        if (count > left_) {
            short_ = true;
            return false;
        }
        return true;
    }
    std::uint8_t u8() {
        if (!take(1)) return 0;
        --left_;
        return *at_++;
    }
    std::uint32_t u32() {
        if (!take(4)) return 0;
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{*at_++} << shift;
        left_ -= 4;
        return value;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() {
        const std::uint32_t bits = u32();
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) nonFinite_ = true;
        return value;
    }
    const std::uint8_t* bytes(std::size_t count) {
        if (!take(count)) return nullptr;
        const std::uint8_t* start = at_;
        at_ += count;
        left_ -= count;
        return start;
    }
    std::size_t left() const { return left_; }
    bool isShort() const { return short_; }
    bool nonFinite() const { return nonFinite_; }

  private:
    const std::uint8_t* at_;
    std::size_t left_;
    bool short_ = false;
    bool nonFinite_ = false;
};

void appendMessages(std::vector<std::uint8_t>& out, const std::vector<net::WireMessage>& messages) {
    putU32(out, static_cast<std::uint32_t>(messages.size()));
    for (const net::WireMessage& message : messages) {
        out.push_back(static_cast<std::uint8_t>(message.length));
        out.insert(out.end(), message.bytes.begin(), message.bytes.begin() + message.length);
    }
}

// Empty when the messages are whole server messages.
std::string readMessages(Cursor& in, std::vector<net::WireMessage>& messages) {
    const std::uint32_t count = in.u32();
    // Each message takes two bytes at least: a count beyond what is left is a lie.
    if (in.isShort() || count > in.left() / 2) return in.isShort() ? "" : "message count too large";
    messages.resize(count);
    for (net::WireMessage& message : messages) {
        const std::size_t length = in.u8();
        const std::uint8_t* bytes = in.bytes(length);
        if (bytes == nullptr) return "";
        if (length == 0 || length != net::serverMessageLength(bytes[0]))
            return "a message of the wrong length";
        std::copy(bytes, bytes + length, message.bytes.begin());
        message.length = length;
    }
    return "";
}

void readFrame(Cursor& in, Frame& frame) {
    frame.clockMs = in.f32();
    frame.frameTime = in.f32();
    for (float* field : {&frame.pose.x, &frame.pose.y, &frame.pose.z, &frame.pose.rotX,
                         &frame.pose.rotY, &frame.pose.rotZ, &frame.lookYaw, &frame.lookPitch,
                         &frame.cameraOffset[0], &frame.cameraOffset[1], &frame.cameraOffset[2]})
        *field = in.f32();
    frame.weapon = in.i32();
    frame.speed = in.i32();
    frame.fire = in.u8() != 0;
    frame.dead = in.u8() != 0;
}

ReadResult refuse(std::string why) {
    return {std::nullopt, std::move(why)};
}

}  // namespace

std::vector<std::uint8_t> encodeHeader(const Header& header) {
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    putU32(out, kVersion);
    putU32(out, static_cast<std::uint32_t>(header.level));
    putU32(out, static_cast<std::uint32_t>(header.vokaType));
    const std::size_t name = std::min(header.playerName.size(), kNameBytes - 1);
    out.insert(out.end(), header.playerName.begin(), header.playerName.begin() + name);
    out.resize(kHeaderBytes, 0);
    return out;
}

void appendRecord(std::vector<std::uint8_t>& out, const Record& record) {
    out.push_back(static_cast<std::uint8_t>(record.kind));
    if (record.kind == Record::Kind::Frame) {
        const Frame& f = record.frame;
        for (const float field : {f.clockMs, f.frameTime, f.pose.x, f.pose.y, f.pose.z, f.pose.rotX,
                                  f.pose.rotY, f.pose.rotZ, f.lookYaw, f.lookPitch,
                                  f.cameraOffset[0], f.cameraOffset[1], f.cameraOffset[2]})
            putF32(out, field);
        putU32(out, static_cast<std::uint32_t>(f.weapon));
        putU32(out, static_cast<std::uint32_t>(f.speed));
        out.push_back(f.fire ? 1 : 0);
        out.push_back(f.dead ? 1 : 0);
    }
    appendMessages(out, record.messages);
}

void appendEnd(std::vector<std::uint8_t>& out, std::uint32_t frameCount) {
    out.push_back(kEnd);
    putU32(out, frameCount);
}

ReadResult readDemo(const std::uint8_t* bytes, std::size_t size) {
    if (size > kMaxFileBytes) return refuse("larger than 64 MiB, not a demo");
    Cursor in(bytes, size);
    const std::uint8_t* magic = in.bytes(sizeof kMagic);
    if (magic == nullptr || std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        return refuse("not a demo (no VOKADEMO header)");
    const std::uint32_t version = in.u32();
    const std::int32_t level = in.i32();
    const std::int32_t vokaType = in.i32();
    const std::uint8_t* name = in.bytes(kNameBytes);
    if (in.isShort()) return refuse("truncated in the header");
    if (version > kVersion)
        return refuse("demo format version " + std::to_string(version) +
                      " is newer than this game reads (" + std::to_string(kVersion) + ")");
    if (version == 0) return refuse("garbled header (version 0)");
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(name, 0, kNameBytes));
    if (nul == nullptr) return refuse("garbled header (the name has no end)");

    Demo demo;
    demo.header = {level, vokaType, std::string(reinterpret_cast<const char*>(name), nul - name)};
    while (true) {
        const std::size_t index = demo.records.size();
        const std::uint8_t kind = in.u8();
        if (in.isShort()) return refuse("truncated after record " + std::to_string(index));
        if (kind == kEnd) {
            const std::uint32_t frames = in.u32();
            if (in.isShort()) return refuse("truncated in the end record");
            if (frames != demo.frameCount) return refuse("garbled end record (frame count)");
            if (in.left() != 0) return refuse("garbled: bytes after the end record");
            return {std::move(demo), {}};
        }
        Record record;
        if (kind == static_cast<std::uint8_t>(Record::Kind::Frame)) {
            record.kind = Record::Kind::Frame;
            if (in.left() < kFrameFieldBytes)
                return refuse("truncated in record " + std::to_string(index));
            readFrame(in, record.frame);
            if (!isWeaponNumber(record.frame.weapon))
                return refuse("garbled record " + std::to_string(index) + " (no such weapon)");
            ++demo.frameCount;
        } else if (kind == static_cast<std::uint8_t>(Record::Kind::Pause)) {
            record.kind = Record::Kind::Pause;
        } else {
            return refuse("garbled record " + std::to_string(index) + " (unknown kind)");
        }
        const std::string bad = readMessages(in, record.messages);
        if (in.isShort()) return refuse("truncated in record " + std::to_string(index));
        if (!bad.empty())
            return refuse("garbled record " + std::to_string(index) + " (" + bad + ")");
        if (in.nonFinite())
            return refuse("garbled record " + std::to_string(index) + " (a number is not finite)");
        demo.records.push_back(std::move(record));
    }
}

ReadResult loadDemo(const std::string& path) {
    struct Close {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    const std::unique_ptr<std::FILE, Close> file(std::fopen(path.c_str(), "rb"));
    if (!file) return refuse(path + ": " + std::strerror(errno));
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (bytes.size() + got > kMaxFileBytes)
            return refuse(path + ": larger than 64 MiB, not a demo");
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) return refuse(path + ": cannot be read");
    ReadResult result = readDemo(bytes.data(), bytes.size());
    if (!result.demo) result.error = path + ": " + result.error;
    return result;
}

bool Writer::open(const std::string& path, const Header& header) {
    path_ = path;
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) {
        fail("cannot be written");
        return false;
    }
    return put(encodeHeader(header));
}

bool Writer::write(const Record& record) {
    std::vector<std::uint8_t> bytes;
    appendRecord(bytes, record);
    if (!put(bytes)) return false;
    if (record.kind == Record::Kind::Frame) ++frames_;
    return true;
}

bool Writer::finish() {
    std::vector<std::uint8_t> bytes;
    appendEnd(bytes, frames_);
    if (!put(bytes)) return false;
    // Buffered bytes can still fail to reach the disk.
    if (std::fclose(file_.release()) != 0) {
        fail("could not be completed");
        return false;
    }
    return true;
}

bool Writer::put(const std::vector<std::uint8_t>& bytes) {
    if (failed() || !file_) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
        fail("could not be written");
        return false;
    }
    return true;
}

void Writer::fail(const char* what) {
    error_ = path_ + ": " + what + " (" + std::strerror(errno) + ")";
    file_.reset();
}

}  // namespace demo
