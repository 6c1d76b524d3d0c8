#include "net/match/ranking.h"

#include <algorithm>

std::vector<RankingEntry> rankPlayers(std::vector<RankingEntry> remote, RankingEntry own) {
    remote.push_back(std::move(own));
    std::sort(remote.begin(), remote.end(),
              [](const RankingEntry& a, const RankingEntry& b) { return a.frags > b.frags; });
    return remote;
}

std::vector<RankingRow> rankingRows(const std::vector<RankingEntry>& ranked) {
    std::vector<RankingRow> rows;
    rows.reserve(ranked.size());
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        rows.push_back({RankingLayout::kFirstRowY - RankingLayout::kRowStep * static_cast<float>(i),
                        std::to_string(i + 1), ranked[i].name, std::to_string(ranked[i].frags)});
    }
    return rows;
}
