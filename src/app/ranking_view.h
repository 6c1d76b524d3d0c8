#pragma once

#include <vector>

#include "net/match/ranking.h"

// The ranking a dead player sees, over the frame in red: the headings "Rank", "Name"
// and "Frags", the rule under them and one row per player at the rows' heights. Every
// GL state it sets is restored. Main thread, with the GL context.
void drawRanking(const std::vector<RankingRow>& rows);
