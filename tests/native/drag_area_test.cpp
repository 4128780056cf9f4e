#include "app/drag_area.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

// A corner of the main window: the background, the title label, a flat
// button, the close knob and the list view.
const std::vector<DragCandidate> kCorner = {
    {"Image1", DragKind::Picture, true, 0, 0, 556, 393},
    {"lTitle", DragKind::Label, true, 17, 12, 197, 16},
    {"bClose", DragKind::Picture, true, 517, 9, 24, 24},
    {"bAnalyzeRegistry", DragKind::FlatButton, true, 13, 93, 94, 25},
    {"bRestartNow", DragKind::FlatButton, false, 340, 364, 90, 25},
    {"lvMain", DragKind::Other, true, 119, 65, 423, 236},
};

TEST(DragAreaTest, BackgroundAndEmptySpotsMoveTheWindowControlsOnTopDoNot) {
  EXPECT_TRUE(IsDragArea(kCorner, 300, 20)) << "title band";
  EXPECT_FALSE(IsDragArea(kCorner, 20, 15)) << "lTitle";
  EXPECT_FALSE(IsDragArea(kCorner, 30, 100)) << "bAnalyzeRegistry";
  EXPECT_FALSE(IsDragArea(kCorner, 520, 12)) << "bClose";
  EXPECT_FALSE(IsDragArea(kCorner, 214, 28)) << "lTitle's right and bottom edges count";
  EXPECT_TRUE(IsDragArea(kCorner, 215, 28));
  EXPECT_TRUE(IsDragArea(kCorner, 200, 150)) << "the list view answers its own hit tests";
  EXPECT_TRUE(IsDragArea(kCorner, 350, 370)) << "hidden bRestartNow";
}

TEST(DragAreaTest, OnlyTheExactNameImage1IsTheBackground) {
  std::vector<DragCandidate> c = {{"Image1", DragKind::Picture, true, 0, 0, 100, 100},
                                  {"image1", DragKind::Picture, true, 0, 0, 10, 10}};
  EXPECT_FALSE(IsDragArea(c, 5, 5));
  EXPECT_TRUE(IsDragArea(c, 55, 55));
}

}  // namespace
}  // namespace vh
