#pragma once

#include <charconv>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

// The command lines of the game's programs without a window: "--option VALUE" pairs.
// Header only, so that every program can use it whatever it links.
namespace platform {

// A whole number from `low` to `high`, with nothing before or after it.
inline bool parseWholeNumber(std::string_view text, long low, long high, long& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && value >= low &&
           value <= high;
}

// Walks argv (from argv[1]): "--help" or "-h" ends the walk with `help` set; every other
// argument must be an option that `known` accepts, followed by a value that `take`
// accepts. Returns what is wrong ("unknown option: X", "X needs a value", "bad value for
// X: V"), or nothing when the whole command line was taken.
inline std::string walkOptions(
    int argc, const char* const* argv, bool& help,
    const std::function<bool(const std::string& option)>& known,
    const std::function<bool(const std::string& option, const std::string& value)>& take) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            help = true;
            return {};
        }
        if (!known(option)) return "unknown option: " + option;
        if (i + 1 >= argc) return option + " needs a value";
        const std::string value = argv[++i];
        if (!take(option, value)) return "bad value for " + option + ": " + value;
    }
    return {};
}

}  // namespace platform
