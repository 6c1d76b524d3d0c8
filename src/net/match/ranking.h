#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One player's row of the ranking that a dead player sees.
struct RankingEntry {
    std::int32_t frags = 0;
    std::string name;
};

// The remote players and the own player (always present, even alone), most frags
// first. Players with equal frags stand in no promised order.
std::vector<RankingEntry> rankPlayers(std::vector<RankingEntry> remote, RankingEntry own);

// The ranking as drawn in window coordinates: headings "Rank", "Name" and "Frags" at
// height 0.9 in three columns, a rule at 0.88, then one row per player from 0.8 down
// in steps of 0.1 with the place, the name and the frags.
struct RankingLayout {
    static constexpr float kRankX = -0.7f;
    static constexpr float kNameX = -0.1f;
    static constexpr float kFragsX = 0.5f;
    static constexpr float kHeadingY = 0.9f;
    static constexpr float kRuleY = 0.88f;
    static constexpr float kRuleLeft = -0.8f;
    static constexpr float kRuleRight = 0.8f;
    static constexpr float kFirstRowY = 0.8f;
    static constexpr float kRowStep = 0.1f;
};

struct RankingRow {
    float y = 0.0f;
    std::string place;
    std::string name;
    std::string frags;
};

std::vector<RankingRow> rankingRows(const std::vector<RankingEntry>& ranked);
