#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <xercesc/sax2/DefaultHandler.hpp>

#include "world/level.h"
#include "world/level_registry.h"

// Integer attribute values are read from their leading characters: optional white
// space and sign, then decimal digits up to the first other character; no digits give
// 0, and values beyond 32 bits stop at the nearest 32-bit limit.
std::int32_t readLevelInteger(const char* text);

// The item type code of a type name ("ITEM_POWER25" ... "ITEM_AMOR_100"), or -1.
int itemTypeCode(const char* name);

// Builds levels from the SAX2 events of a level file and registers each one at its end
// tag. One working Placement serves every player, item and environment element and is
// never reset, so an attribute that an element leaves out keeps the last value given.
// Elements are recognised by name wherever they stand; those outside a level are
// ignored, as are unknown elements and attributes.
//
// The handler is also the parser's entity resolver and refuses every external
// resource (DTD, external entity): a level file never needs one, and fetching them
// could reach the network or read any file on the machine.
class LevelHandler : public xercesc::DefaultHandler {
  public:
    explicit LevelHandler(LevelRegistry& registry) : registry_(registry) {}

    void startElement(const XMLCh* uri, const XMLCh* localName, const XMLCh* qname,
                      const xercesc::Attributes& attributes) override;
    void endElement(const XMLCh* uri, const XMLCh* localName, const XMLCh* qname) override;
    xercesc::InputSource* resolveEntity(const XMLCh* publicId, const XMLCh* systemId) override;
    void fatalError(const xercesc::SAXParseException& error) override;

    // The first fatal error's text ("line N: ..."), empty when there was none.
    const std::string& fatalErrorText() const { return fatalError_; }
    // The system identifier of the external resource refused, empty when none was.
    const std::string& refusedResource() const { return refused_; }
    std::int32_t levelsRegistered() const { return registered_; }

  private:
    void readPlacement(const xercesc::Attributes& attributes);

    LevelRegistry& registry_;
    std::unique_ptr<Level> level_;
    Placement working_;
    std::string fatalError_;
    std::string refused_;
    std::int32_t registered_ = 0;
};
