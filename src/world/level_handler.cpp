#include "world/level_handler.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/util/XMLString.hpp>

#include "net/protocol/game_codes.h"
#include "platform/message_box.h"

using xercesc::XMLString;

namespace {

// A transcoded copy of a parser string in the local code page.
class LocalText {
  public:
    explicit LocalText(const XMLCh* text) : text_(XMLString::transcode(text)) {}
    ~LocalText() { XMLString::release(&text_); }
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;
    const char* c_str() const { return text_ != nullptr ? text_ : ""; }

  private:
    char* text_;
};

bool named(const XMLCh* name, const char16_t* expected) {
    return XMLString::equals(name, reinterpret_cast<const XMLCh*>(expected));
}

struct ItemTypeName {
    const char* name;
    std::uint8_t code;
};

constexpr ItemTypeName kItemTypes[] = {
    {"ITEM_POWER25", ITEM_POWER25}, {"ITEM_POWER15", ITEM_POWER15},
    {"ITEM_AMMO_MG", ITEM_AMMO_MG}, {"ITEM_AMMO_RAIL", ITEM_AMMO_RAIL},
    {"ITEM_AMOR_50", ITEM_AMOR_50}, {"ITEM_AMOR_100", ITEM_AMOR_100},
};

}  // namespace

std::int32_t readLevelInteger(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        if (value < kLimit) value = value * 10 + (*text - '0');
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

int itemTypeCode(const char* name) {
    for (const ItemTypeName& type : kItemTypes) {
        if (std::string_view(name) == type.name) return type.code;
    }
    return -1;
}

void LevelHandler::startElement(const XMLCh*, const XMLCh*, const XMLCh* qname,
                                const xercesc::Attributes& attributes) {
    if (named(qname, u"level")) {
        level_ = std::make_unique<Level>();
        for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
            const LocalText value(attributes.getValue(i));
            if (named(attributes.getQName(i), u"id"))
                level_->setId(readLevelInteger(value.c_str()));
            if (named(attributes.getQName(i), u"name")) level_->setName(value.c_str());
        }
        return;
    }
    if (!level_) return;
    if (named(qname, u"terrain")) {
        for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
            const XMLCh* attribute = attributes.getQName(i);
            const LocalText value(attributes.getValue(i));
            if (named(attribute, u"heightmap")) level_->setHeightmap(value.c_str());
            if (named(attribute, u"texture")) level_->setTexture(value.c_str());
            if (named(attribute, u"texture_det")) level_->setTextureDetail(value.c_str());
        }
    } else if (named(qname, u"player") || named(qname, u"item") || named(qname, u"environment")) {
        readPlacement(attributes);
    }
}

// Players carry only a position; items and environment objects also an identifier and
// a type. Reading them for every element is the same thing, as players never carry the
// other two.
void LevelHandler::readPlacement(const xercesc::Attributes& attributes) {
    for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
        const XMLCh* attribute = attributes.getQName(i);
        const LocalText value(attributes.getValue(i));
        const auto number = [&] { return static_cast<float>(readLevelInteger(value.c_str())); };
        if (named(attribute, u"posx")) working_.pose.x = number();
        if (named(attribute, u"posy")) working_.pose.y = number();
        if (named(attribute, u"posz")) working_.pose.z = number();
        if (named(attribute, u"id")) working_.id = readLevelInteger(value.c_str());
        if (named(attribute, u"type")) {
            const int code = itemTypeCode(value.c_str());
            if (code >= 0) working_.type = static_cast<std::uint8_t>(code);
        }
    }
}

void LevelHandler::endElement(const XMLCh*, const XMLCh*, const XMLCh* qname) {
    if (!level_) return;
    if (named(qname, u"level")) {
        if (level_->spawns().empty()) {
            const std::string text = "level " + std::to_string(level_->getId()) +
                                     " has no player start and cannot be played";
            showError(text);
            level_.reset();
            return;
        }
        registry_.addLevel(std::move(level_));
        ++registered_;
    } else if (named(qname, u"player")) {
        level_->addSpawn(Vec3f{working_.pose.x, working_.pose.y, working_.pose.z});
    } else if (named(qname, u"item")) {
        level_->putItem(working_);
    } else if (named(qname, u"environment")) {
        level_->putEnvironment(working_);
    }
}

xercesc::InputSource* LevelHandler::resolveEntity(const XMLCh*, const XMLCh* systemId) {
    refused_ = systemId != nullptr ? LocalText(systemId).c_str() : "(unnamed)";
    if (refused_.empty()) refused_ = "(unnamed)";
    throw xercesc::SAXException("external resource refused");
}

void LevelHandler::fatalError(const xercesc::SAXParseException& error) {
    if (!fatalError_.empty()) return;
    fatalError_ = "line " + std::to_string(error.getLineNumber()) + ": " +
                  LocalText(error.getMessage()).c_str();
}
