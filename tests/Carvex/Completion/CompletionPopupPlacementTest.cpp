// Where the completion popup goes for a caret line, a panel size and a screen.

#include "Carvex/Completion/CompletionPopupPlacement.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace Carvex {
namespace {

struct Placement {
    const char* name;
    QRect caretLine;
    QSize panel;
    std::optional<QRect> screen;
    QRect expected;
};

class CompletionPopupPlacementTest : public ::testing::TestWithParam<Placement> {};

TEST_P(CompletionPopupPlacementTest, PlacesThePanel) {
    const Placement& row = GetParam();
    EXPECT_EQ(CompletionPopupPlacement::frame(row.caretLine, row.panel, row.screen), row.expected);
}

const QRect screen(0, 0, 1000, 800);
const QSize panel(320, 166);

INSTANTIATE_TEST_SUITE_P(
    Table, CompletionPopupPlacementTest,
    ::testing::Values(
        Placement{"below_the_caret_line", QRect(100, 200, 1, 23), panel, screen, QRect(100, 223, 320, 166)},
        Placement{"right_edge_flush_with_the_screen", QRect(900, 200, 1, 23), panel, screen, QRect(680, 223, 320, 166)},
        Placement{"left_edge_flush_with_the_screen", QRect(150, 200, 1, 23), panel, QRect(200, 0, 1000, 800),
                  QRect(200, 223, 320, 166)},
        Placement{"fits_exactly_above_the_bottom", QRect(10, 611, 1, 23), panel, screen, QRect(10, 634, 320, 166)},
        Placement{"flipped_above_keeps_the_caret_line_in_sight", QRect(10, 700, 1, 23), panel, screen,
                  QRect(10, 534, 320, 166)},
        Placement{"flipped_on_a_second_screen", QRect(10, 1750, 1, 23), QSize(320, 254), QRect(0, 1000, 1000, 800),
                  QRect(10, 1496, 320, 254)},
        Placement{"screen_smaller_than_the_panel_shows_its_top_left", QRect(100, 100, 1, 23), panel,
                  QRect(0, 0, 300, 150), QRect(0, 0, 320, 166)},
        Placement{"fits_on_neither_side_takes_the_roomier_one", QRect(10, 100, 1, 23), QSize(320, 254),
                  QRect(0, 0, 1000, 300), QRect(10, 46, 320, 254)},
        Placement{"no_screen_leaves_it_below_the_caret", QRect(5000, 5000, 1, 23), panel, std::nullopt,
                  QRect(5000, 5023, 320, 166)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Carvex
