#pragma once

#include <signal.h>

#include <string>
#include <vector>

namespace testing_support {

// Where the built programs are.
std::string builtBinary(const std::string& relativePath);

// Fills `dir` with the data files of the build's game directory (build/<x>/game), all
// but zrv.cfg, so that a test decides what settings file the game finds.
void copyGameData(const std::string& dir);

// Runs a built program from a game directory on the current X display with
// VOKA_NONINTERACTIVE=1, so that message boxes become "caption: text" lines on standard
// error. Keys are typed with xdotool into its window. The process is killed on
// destruction if it is still running.
class E2eRun {
  public:
    // With `interactive`, message boxes are real dialogs instead of stderr lines.
    E2eRun(const std::string& binary, const std::string& gameDir,
           const std::vector<std::string>& args = {}, bool interactive = false);
    ~E2eRun() {
        if (!ended_ && pid_ > 0) wait(0);
    }
    E2eRun(const E2eRun&) = delete;
    E2eRun& operator=(const E2eRun&) = delete;

    // Waits until the program has a visible window; false after `timeoutMs`.
    bool waitForWindow(int timeoutMs = 20000);
    // Waits for a top-level window with exactly this title (a message box, say) and
    // presses a key in it; false when none appeared in time.
    bool keyInWindowTitled(const std::string& title, const std::string& keysym,
                           int timeoutMs = 20000);
    // Waits until the window has this size (a switch to full screen comes after the
    // window is first shown); false after `timeoutMs`, with the last size seen.
    bool waitForWindowSize(int wantedWidth, int wantedHeight, int& width, int& height,
                           int timeoutMs = 20000) const;
    // Types one key (an X keysym name such as "Return", "Up", "Escape", "e") as a press
    // and a release, after focusing the window.
    void key(const std::string& keysym) const {
        keyDown(keysym);
        keyUp(keysym);
    }
    void keyDown(const std::string& keysym) const { sendKey("keydown", keysym); }
    void keyUp(const std::string& keysym) const { sendKey("keyup", keysym); }
    // Saves a PNG of the program's window alone.
    bool windowScreenshot(const std::string& pngPath) const;
    // The window's pixels as RGB bytes, rows from the top; empty when unreadable.
    std::string windowRgb() const;

    // Waits for the process to end; returns its exit code, or -1 when it did not end in
    // time (it is then killed) or died from a signal.
    int wait(int timeoutMs = 20000);
    bool running();

    // Exit state and what it printed, for failure messages.
    std::string report();
    void signal(int number) const { ::kill(pid_, number); }
    // Standard error and standard output so far, split into lines.
    std::vector<std::string> stderrLines() const { return lines(stderrPath_); }
    std::vector<std::string> stdoutLines() const { return lines(stdoutPath_); }

  private:
    static std::vector<std::string> lines(const std::string& path);
    void sendKey(const char* action, const std::string& keysym) const;

    std::string title_;
    std::string stderrPath_;
    std::string stdoutPath_;
    std::string window_;
    pid_t pid_ = -1;
    int exitCode_ = -1;
    bool ended_ = false;
};

// Runs a shell command and returns its standard output.
std::string runCommand(const std::string& command);

}  // namespace testing_support
