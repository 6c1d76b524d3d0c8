#include "app/command_line.h"

#include <charconv>
#include <string_view>

#include "config/settings.h"

namespace {

// GLUT's X options and how many values follow each.
struct GlutOption {
    std::string_view name;
    int values;
};
constexpr GlutOption kGlutOptions[] = {
    {"-display", 1}, {"-geometry", 1}, {"-direct", 0}, {"-indirect", 0},
    {"-iconic", 0},  {"-gldebug", 0},  {"-sync", 0},
};

// The server address and the name must fit the settings' text fields.
constexpr std::size_t kMaxText = Settings::kTextSize - 1;

bool parsePort(std::string_view text, std::uint16_t& port) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

std::string parseConnect(std::string_view value, CommandLine& options) {
    const std::size_t colon = value.rfind(':');
    const std::string_view host = value.substr(0, colon);
    if (colon != std::string_view::npos && !parsePort(value.substr(colon + 1), options.port))
        return "--connect: the port must be a number from 1 to 65535";
    if (host.empty()) return "--connect: no host given";
    if (host.size() > kMaxText) return "--connect: the host name is longer than 50 characters";
    options.host = host;
    return {};
}

std::string parseName(std::string_view value, CommandLine& options) {
    if (value.empty()) return "--name: the name is empty";
    if (value.size() > kMaxText) return "--name: the name is longer than 50 characters";
    options.name = value;
    return {};
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine options;
    options.glutArgs.emplace_back(argc > 0 && argv[0] != nullptr ? argv[0] : "voka");
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        bool hasValue = false;
        if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
            hasValue = true;
        }
        const bool takesValue = arg == "--connect" || arg == "--name" || arg == "--record" ||
                                arg == "--timedemo" || arg == "--frame-times";
        if (takesValue && !hasValue) {
            if (i + 1 >= argc) {
                options.error = std::string(arg) + ": a value must follow";
                break;
            }
            value = argv[++i];
        } else if (!takesValue && hasValue) {
            options.error = std::string(arg) + ": takes no value";
            break;
        }
        if (arg == "--connect") {
            options.error = parseConnect(value, options);
        } else if (arg == "--name") {
            options.error = parseName(value, options);
        } else if (arg == "--record" || arg == "--timedemo" || arg == "--frame-times") {
            if (value.empty()) options.error = std::string(arg) + ": no file given";
            (arg == "--record"     ? options.recordPath
             : arg == "--timedemo" ? options.timedemoPath
                                   : options.frameTimesPath) = value;
        } else if (arg == "--start") {
            options.start = true;
        } else if (arg == "--autopilot") {
            options.autopilot = true;
        } else if (arg == "--help") {
            options.help = true;
        } else {
            const GlutOption* glut = nullptr;
            for (const GlutOption& option : kGlutOptions)
                if (option.name == arg) glut = &option;
            if (glut == nullptr || i + glut->values >= argc) {
                options.error = glut == nullptr ? "unknown option " + std::string(arg)
                                                : std::string(arg) + ": a value must follow";
                break;
            }
            for (int k = 0; k <= glut->values; ++k) options.glutArgs.emplace_back(argv[i + k]);
            i += glut->values;
        }
    }
    if (options.error.empty() && !options.recordPath.empty() && !options.timedemoPath.empty())
        options.error = "--record and --timedemo: a demo is recorded or played, not both";
    if (options.error.empty() && !options.frameTimesPath.empty() && options.timedemoPath.empty())
        options.error = "--frame-times: only a timedemo has frame times to write";
    return options;
}

const char* commandLineUsage() {
    return "usage: voka [options]\n"
           "  --connect HOST[:PORT]  play on this server (this run only)\n"
           "  --name NAME            play under this name (this run only)\n"
           "  --start                go straight to the match, past the menu\n"
           "  --autopilot            the computer player drives your Voka (Esc ends)\n"
           "  --record FILE          record the match to a demo file\n"
           "  --timedemo FILE        play a demo as fast as possible, print the frame rate\n"
           "  --frame-times FILE     with --timedemo: write each frame's seconds to FILE\n"
           "  --help                 show this text\n"
           "GLUT's X options (-display, -geometry, -sync, ...) are passed on.\n"
           "Nothing given here is written to zrv.cfg.\n";
}

void applyCommandLine(const CommandLine& options) {
    if (!options.host.empty()) Settings::overrideServerIp(options.host.c_str());
    if (options.port != 0) Settings::overrideServerPort(options.port);
    if (!options.name.empty()) Settings::overridePlayerName(options.name.c_str());
}
