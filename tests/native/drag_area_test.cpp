#include "app/drag_area.h"

#include <gtest/gtest.h>

#include "app/main_layout.h"

namespace vh {
namespace {

TEST(DragAreaTest, BackgroundAndEmptySpotsMoveTheWindowControlsOnTopDoNot) {
  std::vector<DragCandidate> layout = MainLayoutDragCandidates();
  EXPECT_TRUE(IsDragArea(layout, 300, 20)) << "title band";
  EXPECT_TRUE(IsDragArea(layout, 5, 380)) << "bottom-left corner";
  EXPECT_FALSE(IsDragArea(layout, 20, 15)) << "lTitle";
  EXPECT_FALSE(IsDragArea(layout, 30, 100)) << "bAnalyzeRegistry";
  EXPECT_FALSE(IsDragArea(layout, 520, 12)) << "bClose";
  EXPECT_FALSE(IsDragArea(layout, 450, 40)) << "the link label";
  EXPECT_FALSE(IsDragArea(layout, 214, 28)) << "lTitle's right and bottom edges count";
  EXPECT_TRUE(IsDragArea(layout, 215, 28));
  EXPECT_TRUE(IsDragArea(layout, 200, 150)) << "the list view answers its own hit tests";
  EXPECT_TRUE(IsDragArea(layout, 490, 12)) << "bMinimize is windowed";
}

TEST(DragAreaTest, HiddenControlsAndTheBackgroundByExactNameNeverBlock) {
  std::vector<DragCandidate> c = {{"Image1", DragKind::Picture, true, 0, 0, 100, 100},
                                  {"image1", DragKind::Picture, true, 0, 0, 10, 10},
                                  {"bHidden", DragKind::FlatButton, false, 50, 50, 10, 10}};
  EXPECT_FALSE(IsDragArea(c, 5, 5));
  EXPECT_TRUE(IsDragArea(c, 55, 55));
  EXPECT_TRUE(IsDragArea(c, 90, 90));
}

}  // namespace
}  // namespace vh
