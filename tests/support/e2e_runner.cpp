#include "support/e2e_runner.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/clock.h"
#include "support/temp_dir.h"

namespace testing_support {
namespace {

int g_runs = 0;

// Polls `command` until it prints something while `run` lives; its first word, or ""
// after `timeoutMs`.
std::string pollFor(const std::string& command, int timeoutMs, E2eRun& run) {
    for (int ms = 0; ms < timeoutMs && run.running(); ms += 100, platform::sleepMs(100)) {
        const std::string out = runCommand(command);
        const std::string id = out.substr(0, out.find_first_of(" \n"));
        if (!id.empty()) return id;
    }
    return "";
}

}  // namespace

std::string builtBinary(const std::string& relativePath) {
    return std::string(VOKA_BINARY_DIR) + "/" + relativePath;
}

void copyGameData(const std::string& dir) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(VOKA_BINARY_DIR) / "game", error)) {
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
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

E2eRun::E2eRun(const std::string& binary, const std::string& gameDir,
               const std::vector<std::string>& args, bool interactive)
    // The window title is argv[0]; a title of our own lets xdotool find this very window
    // (GLUT sets no _NET_WM_PID).
    : title_("voka-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++g_runs)),
      // Each run its own files: runs side by side in one game directory (a server and
      // the game) must not truncate each other's output.
      stderrPath_(gameDir + "/." + title_ + "-stderr.txt"),
      stdoutPath_(gameDir + "/." + title_ + "-stdout.txt") {
    const pid_t test = getpid();
    pid_ = fork();
    if (pid_ != 0) return;
    // A test that ctest kills for taking too long takes its games, servers and bots with
    // it, instead of leaving them to hold the display and the ports.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != test) _exit(125);
    if (chdir(gameDir.c_str()) != 0 || !std::freopen(stderrPath_.c_str(), "w", stderr) ||
        !std::freopen(stdoutPath_.c_str(), "w", stdout))
        _exit(126);
    interactive ? unsetenv("VOKA_NONINTERACTIVE") : setenv("VOKA_NONINTERACTIVE", "1", 1);
    setenv("VOKA_TRACE_INPUT", "1", 1);
    setenv("LP_NUM_THREADS", "0", 0);  // see GlTest: LeakSanitizer beside llvmpipe's threads
    // The title is argv[0]; execv changes none of the arguments.
    std::vector<char*> raw{title_.data()};
    for (const auto& arg : args) raw.push_back(const_cast<char*>(arg.c_str()));
    raw.push_back(nullptr);
    execv(binary.c_str(), raw.data());
    _exit(127);
}

bool E2eRun::running() {
    int status = 0;
    if (ended_ || waitpid(pid_, &status, WNOHANG) != pid_) return !ended_;
    ended_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}

bool E2eRun::waitForWindow(int timeoutMs) {
    // Only a mapped window: xdotool's --onlyvisible.
    window_ = pollFor("xdotool search --onlyvisible --name '^" + title_ + "$' 2>/dev/null",
                      timeoutMs, *this);
    if (window_.empty()) return false;
    platform::sleepMs(300);  // GLUT draws its first frames after mapping
    return true;
}

bool E2eRun::keyInWindowTitled(const std::string& title, const std::string& keysym, int timeoutMs) {
    // xwininfo finds windows by their exact name whatever property holds it.
    const std::string id =
        pollFor("xwininfo -name '" + title +
                    "' 2>/dev/null | sed -n 's/.*Window id: \\(0x[0-9a-f]*\\).*/\\1/p'",
                timeoutMs, *this);
    if (id.empty()) return false;
    platform::sleepMs(300);
    runCommand("xdotool windowfocus --sync " + id + " key " + keysym + " 2>/dev/null");
    return true;
}

bool E2eRun::waitForWindowSize(int wantedWidth, int wantedHeight, int& width, int& height,
                               int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += 50, platform::sleepMs(50)) {
        // WIDTH=640 and HEIGHT=480 on lines of their own.
        const std::string out = runCommand("xdotool getwindowgeometry --shell " + window_);
        const std::size_t at = std::min(out.find("WIDTH="), out.size());
        if (std::sscanf(out.c_str() + at, "WIDTH=%d HEIGHT=%d", &width, &height) == 2 &&
            width == wantedWidth && height == wantedHeight)
            return true;
    }
    return false;
}

// The game traces each key event it receives (VOKA_TRACE_INPUT), so every event waits
// until the game has taken the one before it, however busy the machine is.
void E2eRun::sendKey(const char* action, const std::string& keysym) const {
    const auto inputs = [this] {
        std::size_t count = 0;
        for (const auto& line : stderrLines()) count += line.rfind("input: ", 0) == 0 ? 1 : 0;
        return count;
    };
    const std::size_t before = inputs();
    runCommand("xdotool windowfocus --sync " + window_ + " " + action + " " + keysym +
               " 2>/dev/null");
    for (int waited = 0; waited < 10000 && inputs() == before; waited += 10) platform::sleepMs(10);
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
    for (int waited = 0; waited < timeoutMs; waited += 50, platform::sleepMs(50))
        if (!running()) return exitCode_;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    ended_ = true;
    return exitCode_ = -1;
}

std::string E2eRun::report() {
    return (running() ? "still running" : "ended with " + std::to_string(exitCode_)) +
           "; output:\n" + readFile(stdoutPath_) + readFile(stderrPath_);
}

std::vector<std::string> E2eRun::lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace testing_support
