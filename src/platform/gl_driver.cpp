#include "platform/gl_driver.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace platform {
namespace {

int pinIfDriver(dl_phdr_info* info, size_t /*size*/, void* /*context*/) {
    const char* name = info->dlpi_name;
    if (name != nullptr &&
        (std::strstr(name, "_dri.so") != nullptr || std::strstr(name, "libGLX_mesa") != nullptr)) {
        // NOLOAD: only marks a library that is already there; never loads one.
        dlopen(name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

}  // namespace

void pinGlDriver() {
    dl_iterate_phdr(pinIfDriver, nullptr);
}

}  // namespace platform
