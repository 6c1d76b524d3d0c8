// zrv.cfg: any file either loads without a message or fails with exactly one, and a file
// that loads, written out and read back, loads again to the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::countMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Settings& settings = Settings::instance();
    Settings::resetStartValues();
    const int before = fuzz::messageCount();
    const int result = settings.readText({reinterpret_cast<const char*>(data), size});
    fuzz::require(fuzz::messageCount() - before == (result == 0 ? 0 : 1),
                  "a read fails with exactly one message, and succeeds with none");
    if (result != 0) return 0;

    const std::string written = settings.formatText();
    fuzz::require(written.find('\0') == std::string::npos, "the writer writes no NUL");
    Settings::resetStartValues();
    fuzz::require(settings.readText(written) == 0, "a written file loads again");
    fuzz::require(settings.formatText() == written, "a written file reads back unchanged");
    return 0;
}
