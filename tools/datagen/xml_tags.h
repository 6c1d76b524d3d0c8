#pragma once

#include <map>
#include <string>
#include <vector>

namespace datagen {

// A start tag of a simple XML file such as level.xml: its name and attributes.
struct XmlTag {
    std::string name;
    std::map<std::string, std::string> attributes;
};

// The start (and empty-element) tags in document order. Only what level.xml uses:
// double-quoted attribute values without entities; declarations, comments and end tags
// are passed over.
std::vector<XmlTag> startTags(const std::string& xml);

}  // namespace datagen
