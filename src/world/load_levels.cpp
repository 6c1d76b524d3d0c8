#include "world/load_levels.h"

#include <functional>
#include <memory>
#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "platform/message_box.h"
#include "world/level_handler.h"

using namespace xercesc;

namespace {

constexpr const char* kLevelFile = "./level.xml";

std::string localText(const XMLCh* text) {
    char* local = XMLString::transcode(text);
    std::string result = local != nullptr ? local : "";
    XMLString::release(&local);
    return result;
}

// Keeps the parser library initialised while it lives (the library counts its users).
class XercesSession {
  public:
    XercesSession() {
        try {
            XMLPlatformUtils::Initialize();
            ready_ = true;
        } catch (const XMLException&) {
        }
    }
    ~XercesSession() {
        if (ready_) XMLPlatformUtils::Terminate();
    }
    XercesSession(const XercesSession&) = delete;
    XercesSession& operator=(const XercesSession&) = delete;
    bool ready() const { return ready_; }

  private:
    bool ready_ = false;
};

// Parses one input source made by `makeSource` (called once the library is ready).
LevelLoadResult parse(LevelRegistry& registry,
                      const std::function<std::unique_ptr<InputSource>()>& makeSource) {
    LevelLoadResult result;
    XercesSession session;
    if (!session.ready()) {
        result.error = "the XML parser could not be initialised";
        return result;
    }
    std::unique_ptr<SAX2XMLReader> reader(XMLReaderFactory::createXMLReader());
    reader->setFeature(XMLUni::fgSAX2CoreValidation, true);
    reader->setFeature(XMLUni::fgXercesDynamic, true);
    reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, false);
    reader->setFeature(XMLUni::fgXercesSchema, false);
    reader->setFeature(XMLUni::fgXercesSchemaFullChecking, true);
    reader->setFeature(XMLUni::fgSAX2CoreNameSpacePrefixes, true);
    // No external DTD or entity is ever loaded, and entity expansion is bounded.
    reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
    reader->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    SecurityManager security;
    security.setEntityExpansionLimit(kLevelEntityExpansionLimit);
    reader->setProperty(XMLUni::fgXercesSecurityManager, &security);

    LevelHandler handler(registry);
    reader->setContentHandler(&handler);
    reader->setErrorHandler(&handler);
    reader->setEntityResolver(&handler);
    try {
        const std::unique_ptr<InputSource> source = makeSource();
        reader->parse(*source);
        result.parsed = handler.fatalErrorText().empty();
    } catch (const XMLException& e) {
        result.error = localText(e.getMessage());
    } catch (const SAXException& e) {
        result.error = localText(e.getMessage());
    }
    if (result.error.empty()) result.error = handler.fatalErrorText();
    result.levelsRegistered = handler.levelsRegistered();
    result.refusedResource = handler.refusedResource();
    if (!result.refusedResource.empty()) {
        result.parsed = false;
        showError("the level file asks for the external resource \"" + result.refusedResource +
                  "\", which is not loaded; the rest of the file is ignored");
    }
    return result;
}

}  // namespace

void loadLevels() {
    loadLevels(LevelRegistry::instance(), kLevelFile);
}

LevelLoadResult loadLevels(LevelRegistry& registry, const char* path) {
    return parse(registry, [path] {
        XMLCh* name = XMLString::transcode(path);
        auto source = std::make_unique<LocalFileInputSource>(name);
        XMLString::release(&name);
        return std::unique_ptr<InputSource>(std::move(source));
    });
}

LevelLoadResult loadLevelsFromMemory(LevelRegistry& registry, const char* bytes, std::size_t size) {
    return parse(registry, [bytes, size] {
        return std::unique_ptr<InputSource>(std::make_unique<MemBufInputSource>(
            reinterpret_cast<const XMLByte*>(bytes), size, "level.xml"));
    });
}
