#include "xml_tags.h"

#include <cctype>

namespace datagen {
namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
}

void skipSpace(const std::string& s, size_t& i) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])) != 0) ++i;
}

std::string name(const std::string& s, size_t& i) {
    const size_t start = i;
    while (i < s.size() && isNameChar(s[i])) ++i;
    return s.substr(start, i - start);
}

}  // namespace

std::vector<XmlTag> startTags(const std::string& xml) {
    std::vector<XmlTag> tags;
    size_t i = 0;
    while ((i = xml.find('<', i)) != std::string::npos) {
        ++i;
        if (i >= xml.size() || !isNameChar(xml[i])) continue;  // <?, <!, </
        XmlTag tag{name(xml, i), {}};
        for (;;) {
            skipSpace(xml, i);
            if (i >= xml.size() || !isNameChar(xml[i])) break;
            const std::string key = name(xml, i);
            skipSpace(xml, i);
            if (i >= xml.size() || xml[i] != '=') break;
            ++i;
            skipSpace(xml, i);
            if (i >= xml.size() || xml[i] != '"') break;
            const size_t end = xml.find('"', i + 1);
            if (end == std::string::npos) break;
            tag.attributes[key] = xml.substr(i + 1, end - i - 1);
            i = end + 1;
        }
        tags.push_back(std::move(tag));
    }
    return tags;
}

}  // namespace datagen
