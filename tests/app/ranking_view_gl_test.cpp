// The dead player's ranking as drawn: red headings, rule and rows at their places.
#include <GL/gl.h>

#include "app/ranking_view.h"
#include "support/gl_fixture.h"

namespace {

class RankingView : public testing_support::GlTest {
  protected:
    // Red pixels in the box from (x0, y0) to (x1, y1) in 2D units.
    static int redIn(const std::vector<std::uint8_t>& rgba, float x0, float y0, float x1,
                     float y1) {
        const auto px = [](float x) { return static_cast<int>((x + 1) / 2 * kWidth); };
        const auto py = [](float y) { return static_cast<int>((y + 1) / 2 * kHeight); };
        int red = 0;
        for (int y = py(y0); y < py(y1); ++y)
            for (int x = px(x0); x < px(x1); ++x) {
                const std::uint8_t* p = &rgba[(y * kWidth + x) * 4u];
                red += p[0] == 255 && p[1] == 0 && p[2] == 0;
            }
        return red;
    }
};

TEST_F(RankingView, HeadingsRuleAndRowsStandInTheirColumns) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    drawRanking(rankingRows(rankPlayers({{7, "Kim"}}, {3, "Ada"})));
    const std::vector<std::uint8_t> rgba = readFrame();
    // Text stands on its base line: look from it to a little above.
    const float columns[] = {-0.7f, -0.1f, 0.5f};
    for (const float top : {0.9f, 0.8f, 0.7f})
        for (const float x : columns)
            EXPECT_GT(redIn(rgba, x, top, x + 0.12f, top + 0.06f), 5) << x << " " << top;
    EXPECT_EQ(redIn(rgba, -1, -1, 1, 0.69f), 0) << "a third row";
    EXPECT_EQ(redIn(rgba, -1, 0.7f, -0.72f, 0.86f), 0) << "left of the rank column";
    // The rule runs from -0.8 to 0.8 between the headings and the first row.
    EXPECT_GT(redIn(rgba, -0.79f, 0.87f, 0.79f, 0.89f), kWidth * 0.7);
    EXPECT_EQ(redIn(rgba, 0.81f, 0.87f, 1, 0.89f), 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

}  // namespace
