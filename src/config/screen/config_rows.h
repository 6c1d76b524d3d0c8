#pragma once

#include <cstdint>
#include <span>
#include <string>

// The rows of the configuration screen's two pages and what each does with its
// setting. Rows are counted from 1 on screen; the tables below are in that order.
enum class RowKind {
    Key,      // opens for one key: a lower-case letter or a digit
    Action,   // Enter toggles or cycles the value at once
    Number,   // opens for a decimal number
    Name,     // opens for the player name
    Address,  // opens for the server's dotted IPv4 address
};

struct ConfigRow {
    const char* label;
    RowKind kind;
    std::string (*value)();  // the value as shown
    // Action rows: what Enter does.
    void (*enter)() = nullptr;
    // Key rows: stores the new binding.
    void (*setKey)(char) = nullptr;
    // Number rows: the most digits, and the store of a typed value (false when the
    // value is refused); an empty entry stores the row's default.
    int maxDigits = 0;
    bool (*storeNumber)(const char* entry) = nullptr;
};

struct ConfigPage {
    static constexpr std::int32_t Controls = 0;
    static constexpr std::int32_t Game = 1;
    static constexpr std::int32_t Save = 2;
    static constexpr std::int32_t Cancel = 3;
    static constexpr std::int32_t Count = 4;
};

// The rows of a page; the save and cancel pages have none.
std::span<const ConfigRow> configRows(std::int32_t page);

// Server address stored when the address row is confirmed empty.
inline constexpr const char* kDefaultServerIp = "192.168.0.10";
// Player name stored when the name row is confirmed empty.
inline constexpr const char* kDefaultPlayerName = "Player";

// "Immediate", "Vertex Array", "Displaylists", "VBO", or "Unknown".
const char* renderModeName(std::int32_t renderMode);
