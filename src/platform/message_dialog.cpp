#include "platform/message_dialog.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <cstdio>

#include "platform/message_box.h"

namespace platform {
namespace {

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
