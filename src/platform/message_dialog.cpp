#include "platform/message_dialog.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/message_box.h"

namespace platform {
namespace {

// The first box that cannot be shown says why.
constinit std::atomic<bool> triedABox{false};

// Says on standard error why SDL could not show a box. SDL tries its ways one after
// another (X11, then a zenity dialog) and SDL_GetError() keeps only the last reason,
// rarely the one that matters (a missing X core font, say), so every error that SDL
// sets on this thread meanwhile is written as it comes, through SDL's log. The X11 box
// runs in a child process of SDL's, whose errors reach standard error the same way.
class SdlErrorTrail {
  public:
    explicit SdlErrorTrail(bool speak) : speak_(speak) {
        std::call_once(tap().installed, install);
        current() = this;
    }
    ~SdlErrorTrail() { current() = nullptr; }
    SdlErrorTrail(const SdlErrorTrail&) = delete;
    SdlErrorTrail& operator=(const SdlErrorTrail&) = delete;

    // After a failed box: SDL's own text when no reason came through the log.
    void failed() {
        if (speak_ && !spoke_) say(SDL_GetError());
    }

  private:
    struct Tap {
        std::once_flag installed;
        SDL_LogOutputFunction next = nullptr;
        void* nextContext = nullptr;
        SDL_LogPriority errorPriority = SDL_LOG_PRIORITY_CRITICAL;
    };
    static Tap& tap() {
        static Tap state;
        return state;
    }
    static SdlErrorTrail*& current() {
        thread_local SdlErrorTrail* trail = nullptr;
        return trail;
    }
    static void install() {
        Tap& state = tap();
        SDL_LogGetOutputFunction(&state.next, &state.nextContext);
        state.errorPriority = SDL_LogGetPriority(SDL_LOG_CATEGORY_ERROR);
        // At debug priority SDL logs every error that it sets.
        SDL_LogSetPriority(SDL_LOG_CATEGORY_ERROR, SDL_LOG_PRIORITY_DEBUG);
        SDL_LogSetOutputFunction(output, nullptr);
    }
    static void output(void*, int category, SDL_LogPriority priority, const char* message) {
        const Tap& state = tap();
        const bool error = category == SDL_LOG_CATEGORY_ERROR;
        if (error && current() != nullptr && current()->speak_) current()->say(message);
        if ((!error || priority >= state.errorPriority) && state.next != nullptr)
            state.next(state.nextContext, category, priority, message);
    }
    // One write, so that the lines of SDL's child and of this process never mix.
    void say(const char* reason) {
        const std::string line = std::string("voka: no message box: ") + reason + "\n";
        [[maybe_unused]] const ssize_t written = ::write(2, line.data(), line.size());
        spoke_ = true;
    }

    bool speak_;
    bool spoke_ = false;
};

// Returns the chosen button id, or -1 when no box could be shown: the box then becomes a
// line on standard error. Why is said at the first box only.
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
    SdlErrorTrail trail(!triedABox.exchange(true));
    std::fflush(stderr);
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        trail.failed();
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        return -1;
    }
    return chosen;
}

bool showDialog(const char* caption, const char* text, bool question) {
    if (!question) {
        const SDL_MessageBoxButtonData ok{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0, "OK"};
        showSdlBox(SDL_MESSAGEBOX_ERROR, caption, text, &ok, 1);
        return true;
    }
    // SDL has no question icon of its own; the information icon is the closest it draws.
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    return showSdlBox(SDL_MESSAGEBOX_INFORMATION, caption, text, buttons, 2) == 1;
}

}  // namespace

void initWindowSystemThreads() {
    XInitThreads();
    setDialogFunction(&showDialog);
}

}  // namespace platform
