#pragma once

#include <string>

// Modal message boxes. Interactive runs show real dialogs once the game has set up its
// window system (message_dialog.h); until then, in programs without a window, and with
// VOKA_NONINTERACTIVE=1 in the environment each box becomes one line
// "<caption>: <text>" on standard error and is answered at once (OK, or No for a
// question), so scripts and tests never wait on a dialog.

namespace platform {

// True when VOKA_NONINTERACTIVE is "1".
bool nonInteractive();

// Caption "error", one OK button. Returns when the player closes the box.
void showError(const char* text);
inline void showError(const std::string& text) {
    showError(text.c_str());
}

// Yes/No question with the question icon; true for Yes.
bool askYesNo(const char* caption, const char* text);

// Where message boxes go. Tests install a sink to collect the texts instead of
// opening boxes; nullptr restores the default. The sink receives caption and text and
// answers questions with its return value.
using MessageSink = bool (*)(void* context, const char* caption, const char* text);
void setMessageSink(MessageSink sink, void* context);

// How an interactive run shows a box that no sink took: a real dialog with one OK button
// (`question` false) or Yes and No; true for OK or Yes. Without one, the line on standard
// error.
using DialogFunction = bool (*)(const char* caption, const char* text, bool question);
void setDialogFunction(DialogFunction dialog);

}  // namespace platform

// The game's own name for the error box, used throughout.
using platform::showError;
