#include "platform/gl_driver.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define VOKA_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOKA_LEAK_CHECKED 1
#endif
#endif

#ifdef VOKA_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

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
#ifdef VOKA_LEAK_CHECKED
    // Exit handlers run newest first, so this one runs before the driver's, while the
    // driver's worker threads still sleep. Done later, the leak checker's thread tracer
    // would meet them half-way through exiting, and that once crashed it. The check runs
    // once: the sanitizer skips its own at the very end.
    std::atexit([] { __lsan_do_leak_check(); });
#endif
}

}  // namespace platform
