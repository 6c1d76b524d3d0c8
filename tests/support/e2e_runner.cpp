#include "support/e2e_runner.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/mesa_threads.h"

namespace testing_support {
namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

void sleepFor(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

std::string builtBinary(const std::string& relativePath) {
    return std::string(VOKA_BINARY_DIR) + "/" + relativePath;
}

void copyGameData(const std::string& dir) {
    namespace fs = std::filesystem;
    const fs::path source = fs::path(VOKA_BINARY_DIR) / "game";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(source, error)) {
        if (entry.path().filename() == "zrv.cfg") continue;
        fs::copy(entry.path(), fs::path(dir) / entry.path().filename(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    }
}

std::string runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[512];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    pclose(pipe);
    return output;
}

E2eRun::E2eRun(const std::string& binary, const std::string& gameDir,
               const std::vector<std::string>& args, bool interactive)
    : gameDir_(gameDir),
      stderrPath_(gameDir + "/.e2e-stderr.txt"),
      stdoutPath_(gameDir + "/.e2e-stdout.txt") {
    // The window title is argv[0]; a title of our own lets xdotool find this very window
    // (GLUT sets no _NET_WM_PID).
    static int runs = 0;
    title_ = "voka-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++runs);
    std::vector<std::string> argv{title_};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(gameDir.c_str()) != 0) _exit(126);
        FILE* err = std::freopen(stderrPath_.c_str(), "w", stderr);
        FILE* out = std::freopen(stdoutPath_.c_str(), "w", stdout);
        if (err == nullptr || out == nullptr) _exit(126);
        if (interactive) {
            unsetenv("VOKA_NONINTERACTIVE");
        } else {
            setenv("VOKA_NONINTERACTIVE", "1", 1);
        }
        withoutMesaRenderThreads();
        std::vector<char*> raw;
        for (auto& arg : argv) raw.push_back(arg.data());
        raw.push_back(nullptr);
        execv(binary.c_str(), raw.data());
        _exit(127);
    }
}

E2eRun::~E2eRun() {
    if (!ended_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool E2eRun::running() {
    if (ended_) return false;
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
        ended_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    return true;
}

bool E2eRun::waitForWindow(int timeoutMs) {
    const std::string search = "xdotool search --name '^" + title_ + "$' 2>/dev/null | head -n 1";
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (!running()) return false;
        std::string id = runCommand(search);
        while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
        if (!id.empty() && runCommand("xwininfo -id " + id + " 2>/dev/null").find("IsViewable") !=
                               std::string::npos) {
            window_ = id;
            // Give GLUT a moment to draw its first frames after mapping.
            sleepFor(300);
            return true;
        }
        sleepFor(100);
    }
    return false;
}

bool E2eRun::keyInWindowTitled(const std::string& title, const std::string& keysym, int timeoutMs) {
    // xwininfo finds windows by their exact name whatever property holds it.
    const std::string find = "xwininfo -name '" + title +
                             "' 2>/dev/null | sed -n 's/.*Window id: \\(0x[0-9a-f]*\\).*/\\1/p'";
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (!running()) return false;
        std::string id = runCommand(find);
        while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
        if (!id.empty()) {
            sleepFor(300);
            runCommand("xdotool windowfocus --sync " + id + " key " + keysym + " 2>/dev/null");
            return true;
        }
        sleepFor(100);
    }
    return false;
}

bool E2eRun::windowSize(int& width, int& height) const {
    if (window_.empty()) return false;
    const std::string out = runCommand("xdotool getwindowgeometry --shell " + window_);
    std::istringstream in(out);
    std::string line;
    bool haveWidth = false;
    bool haveHeight = false;
    while (std::getline(in, line)) {
        if (line.rfind("WIDTH=", 0) == 0) {
            width = std::atoi(line.c_str() + 6);
            haveWidth = true;
        } else if (line.rfind("HEIGHT=", 0) == 0) {
            height = std::atoi(line.c_str() + 7);
            haveHeight = true;
        }
    }
    return haveWidth && haveHeight;
}

bool E2eRun::waitForWindowSize(int wantedWidth, int wantedHeight, int& width, int& height,
                               int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (windowSize(width, height) && width == wantedWidth && height == wantedHeight)
            return true;
        sleepFor(50);
    }
    return false;
}

void E2eRun::key(const std::string& keysym) const {
    for (const char* action : {" keydown ", " keyup "}) {
        runCommand("xdotool windowfocus --sync " + window_ + action + keysym + " 2>/dev/null");
        sleepFor(150);
    }
}

bool E2eRun::screenshot(const std::string& pngPath) const {
    return std::system(("import -window root " + pngPath + " 2>/dev/null").c_str()) == 0;
}

bool E2eRun::windowScreenshot(const std::string& pngPath) const {
    return !window_.empty() &&
           std::system(("import -window " + window_ + " " + pngPath + " 2>/dev/null").c_str()) == 0;
}

std::string E2eRun::windowRgb() const {
    return window_.empty()
               ? ""
               : runCommand("import -window " + window_ + " -depth 8 rgb:- 2>/dev/null");
}

int E2eRun::wait(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (!running()) return exitCode_;
        sleepFor(50);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    ended_ = true;
    exitCode_ = -1;
    return -1;
}

void E2eRun::signal(int number) const {
    if (!ended_ && pid_ > 0) kill(pid_, number);
}

std::string E2eRun::report() {
    std::string text = running() ? "still running" : "ended with " + std::to_string(exitCode_);
    text += "; stderr:";
    for (const auto& line : stderrLines()) text += "\n  " + line;
    return text;
}

std::vector<std::string> E2eRun::stderrLines() const {
    return readLines(stderrPath_);
}
std::vector<std::string> E2eRun::stdoutLines() const {
    return readLines(stdoutPath_);
}

}  // namespace testing_support
