#include "platform/message_box.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>

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

// Returns the chosen button id, or -1 when no box could be shown.
int showSdlBox(Uint32 flags, const char* caption, const char* text,
               const SDL_MessageBoxButtonData* buttons, int buttonCount) {
    SDL_MessageBoxData data{};
    data.flags = flags;
    data.window = nullptr;
    data.title = caption;
    data.message = text;
    data.numbuttons = buttonCount;
    data.buttons = buttons;
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return -1;
    }
    return chosen;
}

// Gives the box to the installed sink or, in non-interactive mode, to standard error.
// Returns true when the box was handled that way; `answer` then holds the reply.
bool divert(const char* caption, const char* text, bool& answer) {
    {
        SinkSlot& slot = sinkSlot();
        std::lock_guard<std::mutex> guard(slot.lock);
        if (slot.sink != nullptr) {
            answer = slot.sink(slot.context, caption, text);
            return true;
        }
    }
    if (nonInteractive()) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        answer = false;
        return true;
    }
    return false;
}

}  // namespace

void initWindowSystemThreads() {
    XInitThreads();
}

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

void showError(const char* text) {
    bool ignored = false;
    if (divert("error", text, ignored)) return;
    const SDL_MessageBoxButtonData ok{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0, "OK"};
    showSdlBox(SDL_MESSAGEBOX_ERROR, "error", text, &ok, 1);
}

bool askYesNo(const char* caption, const char* text) {
    bool answer = false;
    if (divert(caption, text, answer)) return answer;
    // SDL has no question icon of its own; the information icon is the closest it draws.
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    return showSdlBox(SDL_MESSAGEBOX_INFORMATION, caption, text, buttons, 2) == 1;
}

}  // namespace platform
