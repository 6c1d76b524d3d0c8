#include "platform/message_box.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

struct SinkSlot {
    std::mutex lock;
    MessageSink sink = nullptr;
    void* context = nullptr;
};

SinkSlot& sinkSlot() {
    static SinkSlot slot;
    return slot;
}

constinit std::atomic<DialogFunction> dialogFunction{nullptr};

// Gives the box to the installed sink, else (interactive, with a dialog) to the dialog,
// else to standard error answering No. Returns the reply.
bool present(const char* caption, const char* text, bool question) {
    {
        SinkSlot& slot = sinkSlot();
        std::lock_guard<std::mutex> guard(slot.lock);
        if (slot.sink != nullptr) return slot.sink(slot.context, caption, text);
    }
    const DialogFunction dialog = dialogFunction.load();
    if (dialog != nullptr && !nonInteractive()) return dialog(caption, text, question);
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    return false;
}

}  // namespace

bool nonInteractive() {
    const char* value = std::getenv("VOKA_NONINTERACTIVE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

void setMessageSink(MessageSink sink, void* context) {
    SinkSlot& slot = sinkSlot();
    std::lock_guard<std::mutex> guard(slot.lock);
    slot.sink = sink;
    slot.context = context;
}

void setDialogFunction(DialogFunction dialog) {
    dialogFunction.store(dialog);
}

void showError(const char* text) {
    present("error", text, false);
}

bool askYesNo(const char* caption, const char* text) {
    return present(caption, text, true);
}

}  // namespace platform
