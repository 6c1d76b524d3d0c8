#include "app/ranking_view.h"

#include <GL/gl.h>

#include "render/draw_2d.h"

void drawRanking(const std::vector<RankingRow>& rows) {
    using L = RankingLayout;
    const Overlay2d overlay;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 0.0f, 0.0f);
    drawText(L::kRankX, L::kHeadingY, "Rank");
    drawText(L::kNameX, L::kHeadingY, "Name");
    drawText(L::kFragsX, L::kHeadingY, "Frags");
    glBegin(GL_LINES);
    glVertex2f(L::kRuleLeft, L::kRuleY);
    glVertex2f(L::kRuleRight, L::kRuleY);
    glEnd();
    for (const RankingRow& row : rows) {
        drawText(L::kRankX, row.y, row.place.c_str());
        drawText(L::kNameX, row.y, row.name.c_str());
        drawText(L::kFragsX, row.y, row.frags.c_str());
    }
}
