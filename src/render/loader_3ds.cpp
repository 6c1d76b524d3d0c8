#include "render/loader_3ds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/message_box.h"
#include "render/file_bytes.h"

namespace {

// Messages name the file and are cut to the 254 characters of a message buffer.
std::string fileMessage(const char* what, const char* fileName) {
    std::string text = std::string(what) + fileName + "!";
    if (text.size() > 254) text.resize(254);
    return text;
}

// Chunk identifiers of the 3D Studio format that the game reads.
constexpr std::uint16_t kMain = 0x4D4D;
constexpr std::uint16_t kVersion = 0x0002;
constexpr std::uint16_t kEditor = 0x3D3D;
constexpr std::uint16_t kMaterial = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;
constexpr std::uint16_t kDiffuse = 0xA020;
constexpr std::uint16_t kTextureMap = 0xA200;
constexpr std::uint16_t kTextureFile = 0xA300;
constexpr std::uint16_t kObject = 0x4000;
constexpr std::uint16_t kTriangleMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;
constexpr std::uint16_t kFaceList = 0x4120;
constexpr std::uint16_t kFaceMaterial = 0x4130;
constexpr std::uint16_t kTexCoords = 0x4140;
constexpr std::uint16_t kColorFloat = 0x0010;
constexpr std::uint16_t kColor24 = 0x0011;
constexpr std::uint16_t kColor24Gamma = 0x0012;
constexpr std::uint16_t kColorFloatGamma = 0x0013;

constexpr std::size_t kHeaderBytes = 6;  // identifier u16, length u32 (header included)

// One chunk: where its data starts and where the chunk ends, both as file offsets.
struct Chunk {
    std::uint16_t id = 0;
    std::size_t data = 0;
    std::size_t end = 0;
};

// Copies a chunk's bytes into a fixed text field, cut to fit and always terminated.
template <std::size_t N>
void copyField(char (&field)[N], const std::uint8_t* bytes, std::size_t count) {
    const std::size_t kept = std::min(count, N - 1);
    std::memcpy(field, bytes, kept);
    std::memset(field + kept, 0, N - kept);
}

class Reader {
  public:
    Reader(Model3ds& model, const std::uint8_t* data, std::size_t size, const char* fileName)
        : model_(model), data_(data), size_(size), fileName_(fileName) {}

    bool run() {
        if (size_ < kHeaderBytes || u16(0) != kMain)
            return fail("Unable to load PRIMARY chuck from file: ");
        Chunk main;
        if (!header(0, size_, main)) return false;
        return mainLevel(main.data, main.end, 1);
    }

    const std::string& error() const { return error_; }

  private:
    // Keeps the first fault: "<what>: <file name>!".
    bool fail(const char* what) {
        if (error_.empty()) error_ = fileMessage(what, fileName_);
        return false;
    }

    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        return static_cast<std::uint32_t>(data_[at]) |
               (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[at + 3]) << 24);
    }
    float f32(std::size_t at) const {
        const std::uint32_t bits = u32(at);
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Reads the chunk header at `at`; the whole chunk must lie inside [at, parentEnd).
    bool header(std::size_t at, std::size_t parentEnd, Chunk& chunk) {
        if (parentEnd - at < kHeaderBytes) return fail("File ends inside a chunk header: ");
        chunk.id = u16(at);
        const std::uint32_t length = u32(at + 2);
        if (length < kHeaderBytes) return fail("Chunk shorter than its header in file: ");
        if (length > parentEnd - at) return fail("Chunk longer than its parent in file: ");
        chunk.data = at + kHeaderBytes;
        chunk.end = at + length;
        return true;
    }

    bool deeper(int depth) {
        return depth <= Loader3ds::kMaxDepth ? true : fail("Chunks nested too deeply in file: ");
    }

    // Sub-chunks of the main chunk and of the editor chunk.
    bool mainLevel(std::size_t at, std::size_t end, int depth) {
        if (!deeper(depth)) return false;
        while (at < end) {
            Chunk chunk;
            if (!header(at, end, chunk)) return false;
            bool ok = true;
            switch (chunk.id) {
                case kVersion:
                    version(chunk);
                    break;
                case kEditor:
                    ok = editor(chunk, depth + 1);
                    break;
                case kMaterial:
                    ok = material(chunk, depth + 1);
                    break;
                case kObject:
                    ok = object(chunk, depth + 1);
                    break;
                default:
                    break;  // keyframer data and anything unknown
            }
            if (!ok) return false;
            at = chunk.end;
        }
        return true;
    }

    void version(const Chunk& chunk) {
        if (chunk.end - chunk.data == 4 && u32(chunk.data) > 3)
            showError("This 3DS file is over version 3 so it may load incorrectly");
    }

    bool editor(const Chunk& chunk, int depth) {
        // The first sub-chunk is the mesh version, which the game does not use.
        if (chunk.data == chunk.end) return true;
        Chunk meshVersion;
        if (!header(chunk.data, chunk.end, meshVersion)) return false;
        return mainLevel(meshVersion.end, chunk.end, depth);
    }

    bool material(const Chunk& chunk, int depth) {
        if (model_.materialCount >= Loader3ds::kMaxMaterials)
            return fail("Too many materials in file: ");
        model_.materials.emplace_back();
        model_.materialCount += 1;
        return materialLevel(chunk.data, chunk.end, depth);
    }

    bool materialLevel(std::size_t at, std::size_t end, int depth) {
        if (!deeper(depth)) return false;
        Material3ds& material = model_.materials.back();
        while (at < end) {
            Chunk chunk;
            if (!header(at, end, chunk)) return false;
            const std::size_t length = chunk.end - chunk.data;
            switch (chunk.id) {
                case kMaterialName:
                    copyField(material.name, data_ + chunk.data, length);
                    break;
                case kTextureFile:
                    copyField(material.textureFile, data_ + chunk.data, length);
                    break;
                case kDiffuse:
                    if (!diffuse(chunk, material)) return false;
                    break;
                case kTextureMap:
                    if (!materialLevel(chunk.data, chunk.end, depth + 1)) return false;
                    break;
                default:
                    break;
            }
            at = chunk.end;
        }
        return true;
    }

    // The diffuse chunk's first colour sub-chunk gives the colour; any later one (a gamma
    // corrected copy) is ignored.
    bool diffuse(const Chunk& chunk, Material3ds& material) {
        if (chunk.data < chunk.end) {
            Chunk color;
            if (!header(chunk.data, chunk.end, color)) return false;
            const std::size_t length = color.end - color.data;
            if ((color.id == kColor24 || color.id == kColor24Gamma) && length >= 3) {
                std::memcpy(material.color, data_ + color.data, 3);
            } else if ((color.id == kColorFloat || color.id == kColorFloatGamma) && length >= 12) {
                for (int i = 0; i < 3; ++i) {
                    const float c = f32(color.data + 4 * static_cast<std::size_t>(i));
                    const float clamped = std::isfinite(c) ? std::clamp(c, 0.0f, 1.0f) : 0.0f;
                    material.color[i] = static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
                }
            }
        }
        material.color[3] = 255;
        return true;
    }

    // A zero-terminated string that must end inside [at, end); keeps what fits.
    bool string(std::size_t& at, std::size_t end, char (&field)[MeshObject3ds::kNameSize]) {
        const std::uint8_t* start = data_ + at;
        const void* zero = std::memchr(start, 0, end - at);
        if (zero == nullptr) return fail("Name does not end inside its chunk in file: ");
        const std::size_t length = static_cast<const std::uint8_t*>(zero) - start;
        copyField(field, start, length);
        at += length + 1;
        return true;
    }

    bool object(const Chunk& chunk, int depth) {
        if (model_.objectCount >= Loader3ds::kMaxObjects) return fail("Too many objects in file: ");
        model_.objects.emplace_back();
        model_.objectCount += 1;
        MeshObject3ds& object = model_.objects.back();
        std::size_t at = chunk.data;
        if (!string(at, chunk.end, object.name)) return false;
        if (!objectLevel(at, chunk.end, depth)) return false;
        for (const Face3ds& face : object.faces) {
            for (std::int32_t index : face.vertex) {
                if (index >= object.vertexCount)
                    return fail("Face index beyond the vertex list in file: ");
            }
        }
        return true;
    }

    bool objectLevel(std::size_t at, std::size_t end, int depth) {
        if (!deeper(depth)) return false;
        MeshObject3ds& object = model_.objects.back();
        while (at < end) {
            Chunk chunk;
            if (!header(at, end, chunk)) return false;
            bool ok = true;
            switch (chunk.id) {
                case kTriangleMesh:
                    ok = objectLevel(chunk.data, chunk.end, depth + 1);
                    break;
                case kVertexList:
                    ok = vertices(chunk, object);
                    break;
                case kFaceList:
                    ok = faces(chunk, object, depth + 1);
                    break;
                case kFaceMaterial:
                    ok = faceMaterial(chunk, object);
                    break;
                case kTexCoords:
                    ok = texCoords(chunk, object);
                    break;
                default:
                    break;
            }
            if (!ok) return false;
            at = chunk.end;
        }
        return true;
    }

    // A 16-bit count followed by count records of `recordBytes`, all inside the chunk.
    bool counted(const Chunk& chunk, std::size_t recordBytes, std::size_t& count) {
        if (chunk.end - chunk.data < 2) return fail("Count too large for its chunk in file: ");
        count = u16(chunk.data);
        if (count * recordBytes > chunk.end - chunk.data - 2)
            return fail("Count too large for its chunk in file: ");
        return true;
    }

    bool vertices(const Chunk& chunk, MeshObject3ds& object) {
        std::size_t count = 0;
        if (!counted(chunk, 12, count)) return false;
        object.vertices.assign(count, Vec3f{});
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = chunk.data + 2 + 12 * i;
            // The file is Z up; the game's model space is Y up.
            object.vertices[i] = Vec3f{f32(at), f32(at + 8), -f32(at + 4)};
        }
        object.vertexCount = static_cast<std::int32_t>(count);
        return true;
    }

    bool faces(const Chunk& chunk, MeshObject3ds& object, int depth) {
        std::size_t count = 0;
        if (!counted(chunk, 8, count)) return false;
        object.faces.assign(count, Face3ds{});
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = chunk.data + 2 + 8 * i;
            for (int k = 0; k < 3; ++k)
                object.faces[i].vertex[k] = u16(at + 2 * static_cast<std::size_t>(k));
        }
        object.faceCount = static_cast<std::int32_t>(count);
        // Face material groups follow the faces inside this chunk.
        return objectLevel(chunk.data + 2 + 8 * count, chunk.end, depth);
    }

    // The group's material applies to the whole object; the group read last comes first.
    // Each material before the first of that name (every material, when none has it)
    // adds a "no material" entry at the back of the list.
    bool faceMaterial(const Chunk& chunk, MeshObject3ds& object) {
        char name[MeshObject3ds::kNameSize];
        std::size_t at = chunk.data;
        if (!string(at, chunk.end, name)) return false;
        const std::int32_t found = materialNamed(name);
        std::vector<std::int32_t>& list = object.materials;
        const std::size_t misses =
            found < 0 ? model_.materials.size() : static_cast<std::size_t>(found);
        const std::size_t room = Loader3ds::kMaxMaterialList - list.size();
        list.insert(list.end(), std::min(misses, room), -1);
        if (found < 0) return true;
        list.insert(list.begin(), found);
        if (list.size() > Loader3ds::kMaxMaterialList) list.pop_back();
        Material3ds& material = model_.materials[static_cast<std::size_t>(found)];
        if (material.textureFile[0] != '\0') {
            object.textured = true;
            object.multitextured = false;
            std::memset(material.color, 255, sizeof material.color);
        }
        return true;
    }

    // The index of the first material called `name`, or -1. Materials are complete by
    // the time an object names them (a material's chunk ends before the next chunk
    // starts), so each is entered in the index once, at the first look-up after it.
    std::int32_t materialNamed(const char* name) {
        for (; indexed_ < model_.materials.size(); ++indexed_)
            firstNamed_.emplace(model_.materials[indexed_].name,
                                static_cast<std::int32_t>(indexed_));
        const auto found = firstNamed_.find(name);
        return found == firstNamed_.end() ? -1 : found->second;
    }

    bool texCoords(const Chunk& chunk, MeshObject3ds& object) {
        std::size_t count = 0;
        if (!counted(chunk, 8, count)) return false;
        object.texCoords.assign(count, Vec2f{});
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = chunk.data + 2 + 8 * i;
            object.texCoords[i] = Vec2f{f32(at), f32(at + 4)};
        }
        object.texCoordCount = static_cast<std::int32_t>(count);
        return true;
    }

    Model3ds& model_;
    const std::uint8_t* data_;
    std::size_t size_;
    const char* fileName_;
    std::string error_;
    std::unordered_map<std::string, std::int32_t> firstNamed_;
    std::size_t indexed_ = 0;
};

}  // namespace

bool Loader3ds::importBytes(Model3ds& model, const std::uint8_t* data, std::size_t size,
                            const char* fileName) {
    Reader reader(model, data, size, fileName);
    if (!reader.run()) {
        model = Model3ds{};
        showError(reader.error());
        return false;
    }
    computeNormals(model);
    return true;
}

bool Loader3ds::import(Model3ds& model, const char* fileName) {
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName, error);
    if (!error && size > kMaxFileBytes) {
        showError(fileMessage("File too large to be a model: ", fileName));
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (error || !readFileBytes(fileName, bytes)) {
        showError(fileMessage("Unable to find the file: ", fileName));
        return false;
    }
    return importBytes(model, bytes.data(), bytes.size(), fileName);
}

bool import3ds(Model3ds& model, const char* fileName) {
    Loader3ds loader;
    return loader.import(model, fileName);
}
