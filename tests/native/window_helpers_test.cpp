// Centring arithmetic and the tooltip table of the main dialog.
#include "gui/window_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Centring, MiddleOfTheScreenTruncatedTowardZero) {
    long x = 0, y = 0;
    CenteredOrigin(0, 0, 500, 300, 1024, 768, &x, &y);
    EXPECT_EQ(262, x);
    EXPECT_EQ(234, y);
    // Wherever the window stands now, only its size counts.
    CenteredOrigin(900, -40, 1400, 260, 1024, 768, &x, &y);
    EXPECT_EQ(262, x);
    EXPECT_EQ(234, y);
    // Wider than the screen: a negative position, truncated toward zero (-38.5 gives -38).
    CenteredOrigin(0, 0, 1101, 10, 1024, 768, &x, &y);
    EXPECT_EQ(-38, x);
    EXPECT_EQ(379, y);
}

TEST(Tooltips, TableInOrderWithTheMultiLineTips) {
    const int order[kMainTooltipCount] = {1, 1117, 2, 1061, 1017, 1116, 1070, 1115, 1096};
    for (int i = 0; i < kMainTooltipCount; ++i) EXPECT_EQ(order[i], kMainTooltips[i].control) << i;
    std::string last = kMainTooltips[8].text;
    size_t lines = 1;
    for (size_t at = last.find("\r\n"); at != std::string::npos; at = last.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(5u, lines);
    EXPECT_NE(std::string::npos, last.find("move path is  d:\\converted\r\n"));
    EXPECT_NE(std::string::npos, last.find("c:\\pdf\\test.pdf"));
}

}  // namespace
