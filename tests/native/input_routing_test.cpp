#include "ui/input_routing.h"

#include <gtest/gtest.h>

#include <string>

namespace vh {
namespace {

class Box : public RoutedControl {
 public:
  Box(std::string name, Rect bounds) : name(std::move(name)), state{bounds} {}
  RouteInfo RouteState() const override { return state; }
  std::string name;
  RouteInfo state;
};

const Rect kClient{0, 0, 200, 100};

// Two buttons side by side and a third lying over the right half of the second.
class Router : public ::testing::Test {
 protected:
  Router() {
    router.Add(a);
    router.Add(b);
    router.Add(top);
  }

  // "capture; Kind target(x,y) ..." : the whole decision in one line.
  std::string Say(const Routing& r) const {
    static const char* kKinds[] = {"Enter", "Leave", "Move", "Down", "DoublePress", "Up", "Click"};
    std::string s = r.capture == CaptureChange::Take ? "take" : r.capture == CaptureChange::Release ? "release" : "-";
    for (const MouseCall& c : r.calls) {
      s += std::string(" ") + kKinds[int(c.kind)] + " " + static_cast<Box*>(c.target)->name;
      if (c.kind != MouseCall::Kind::Enter && c.kind != MouseCall::Kind::Leave)
        s += "(" + std::to_string(c.at.x) + "," + std::to_string(c.at.y) + ")";
    }
    return s;
  }
  std::string Down(Point p, TMouseButton bt = TMouseButton::mbLeft) { return Say(router.Down(bt, p, false)); }
  std::string Up(Point p, TMouseButton bt = TMouseButton::mbLeft, bool held = false) {
    return Say(router.Up(bt, p, held));
  }
  std::string Hover(Point p) { return Say(router.Hover(p, kClient)); }

  Box host{"host", kClient};
  Box a{"a", Rect{10, 10, 50, 40}};
  Box b{"b", Rect{60, 10, 140, 40}};
  Box top{"top", Rect{100, 20, 160, 60}};
  InputRouter router{host};
};

TEST_F(Router, AClickNeedsPressAndReleaseOnTheSameControl) {
  EXPECT_EQ(Down({15, 15}), "take Down a(5,5)");
  EXPECT_EQ(Up({20, 12}), "release Click a(10,2) Up a(10,2)");

  // Captured: the release over b still goes to a, outside it, so no click.
  EXPECT_EQ(Down({15, 15}), "take Down a(5,5)");
  EXPECT_EQ(Say(router.Move({70, 15})), "- Move a(60,5)");
  EXPECT_EQ(Up({70, 15}), "release Up a(60,5)");

  // Without capture the release lands on b, which was not pressed.
  a.captureMouse = false;
  EXPECT_EQ(Down({15, 15}), "- Down a(5,5)");
  EXPECT_EQ(Up({70, 15}), "- Up b(10,5)");
  EXPECT_EQ(Up({15, 15}), "- Up a(5,5)") << "the press was spent by the release on b";

  // A press on the host in between voids an earlier press that lost its release.
  EXPECT_EQ(Down({15, 15}), "- Down a(5,5)");
  EXPECT_EQ(Down({5, 80}), "- Down host(5,80)");
  EXPECT_EQ(Up({15, 15}), "- Up a(5,5)");
}

TEST_F(Router, DraggingOutAndBackInStillClicks) {
  Down({15, 15});
  EXPECT_EQ(Say(router.Move({190, 90})), "- Move a(180,80)");
  EXPECT_EQ(Up({49, 39}), "release Click a(39,29) Up a(39,29)");
}

TEST_F(Router, OtherButtonsNeitherClickNorEndTheCaptureWhileOneIsHeld) {
  EXPECT_EQ(Down({15, 15}, TMouseButton::mbRight), "take Down a(5,5)");
  EXPECT_EQ(Up({15, 15}, TMouseButton::mbRight), "release Up a(5,5)");

  Down({15, 15});
  EXPECT_EQ(Down({15, 15}, TMouseButton::mbRight), "take Down a(5,5)");
  EXPECT_EQ(Up({15, 15}, TMouseButton::mbRight, true), "- Up a(5,5)");
  EXPECT_EQ(router.Captured(), &a);
  EXPECT_EQ(Up({15, 15}), "release Click a(5,5) Up a(5,5)");
}

TEST_F(Router, TheTopmostControlWinsWhereControlsOverlap) {
  EXPECT_EQ(Hover({110, 25}), "- Enter top");
  EXPECT_EQ(Down({110, 25}), "take Down top(10,5)");
  EXPECT_EQ(Up({110, 25}), "release Click top(10,5) Up top(10,5)");

  // Disabled, it stays hot (hint and cursor) but presses fall through to b.
  top.state.enabled = false;
  EXPECT_EQ(Hover({111, 25}), "-");
  EXPECT_EQ(Down({110, 25}), "take Down b(50,15)");
  EXPECT_EQ(Up({110, 25}), "release Click b(50,15) Up b(50,15)");

  // Hidden, or a window of its own, it is passed over entirely.
  top.state.enabled = true;
  top.state.visible = false;
  EXPECT_EQ(Hover({112, 25}), "- Leave top Enter b");
  top.state.visible = true;
  top.state.windowless = false;
  EXPECT_EQ(router.ControlAt({150, 50}, true), nullptr);
  EXPECT_EQ(Hover({150, 50}), "- Leave b Enter host");
}

TEST_F(Router, HoverFollowsTheMouseAndLeavingClearsIt) {
  EXPECT_EQ(Hover({5, 5}), "- Enter host");
  EXPECT_EQ(Hover({15, 15}), "- Leave host Enter a");
  EXPECT_EQ(Hover({16, 16}), "-");
  EXPECT_EQ(Hover({250, 15}), "- Leave a");
  EXPECT_EQ(Hover({15, 15}), "- Enter a");

  // Leaving while pressed keeps the capture: the release back on a clicks.
  Down({15, 15});
  EXPECT_EQ(Say(router.Leave()), "- Leave a");
  EXPECT_EQ(router.Hot(), nullptr);
  EXPECT_EQ(router.Captured(), &a);
  EXPECT_EQ(Up({15, 15}), "release Click a(5,5) Up a(5,5)");
}

TEST_F(Router, MovesGoToTheCapturedControlElseToWhatIsUnderTheMouse) {
  EXPECT_EQ(Say(router.Move({5, 5})), "- Move host(5,5)");
  EXPECT_EQ(Say(router.Move({65, 15})), "- Move b(5,5)");
  Down({65, 15});
  EXPECT_EQ(Say(router.Move({15, 15})), "- Move b(-45,5)");
}

TEST_F(Router, AHiddenControlLosesHoverCaptureAndItsClick) {
  Hover({15, 15});
  Down({15, 15});
  a.state.visible = false;
  EXPECT_EQ(Say(router.AvailabilityChanged(a)), "release Leave a");
  EXPECT_EQ(router.Captured(), nullptr);
  EXPECT_EQ(Up({15, 15}), "- Up host(15,15)");
}

TEST_F(Router, ADisabledControlStaysHotButLosesCaptureAndItsClick) {
  Hover({15, 15});
  Down({15, 15});
  a.state.enabled = false;
  EXPECT_EQ(Say(router.AvailabilityChanged(a)), "release");
  EXPECT_EQ(router.Hot(), &a);
  a.state.enabled = true;
  EXPECT_EQ(Up({15, 15}), "- Up a(5,5)") << "enabled again, it still needs a new press";
}

TEST_F(Router, ChangesOfAnUninvolvedControlChangeNothing) {
  Hover({15, 15});
  Down({15, 15});
  b.state.visible = false;
  EXPECT_EQ(Say(router.AvailabilityChanged(b)), "-");
  EXPECT_EQ(Up({15, 15}), "release Click a(5,5) Up a(5,5)");
}

TEST_F(Router, ALostCaptureVoidsThePress) {
  Down({15, 15});
  EXPECT_EQ(Say(router.CaptureLost()), "-");
  EXPECT_EQ(router.Captured(), nullptr);
  EXPECT_EQ(Up({15, 15}), "- Up a(5,5)");
  // The next press is whole again.
  Down({15, 15});
  EXPECT_EQ(Up({15, 15}), "release Click a(5,5) Up a(5,5)");
}

TEST_F(Router, DoubleClicksGoToControlsThatTakeThemAndNeverClick) {
  Down({15, 15});
  Up({15, 15});
  EXPECT_EQ(Say(router.Down(TMouseButton::mbLeft, {15, 15}, true)), "take DoublePress a(5,5)");
  EXPECT_EQ(Up({15, 15}), "release Up a(5,5)");

  a.doubleClicks = false;
  EXPECT_EQ(Say(router.Down(TMouseButton::mbLeft, {15, 15}, true)), "take Down a(5,5)");
  EXPECT_EQ(Up({15, 15}), "release Click a(5,5) Up a(5,5)");

  EXPECT_EQ(Say(router.Down(TMouseButton::mbLeft, {5, 80}, true)), "- DoublePress host(5,80)");
  EXPECT_EQ(Say(router.Down(TMouseButton::mbRight, {5, 80}, true)), "- Down host(5,80)");
}

TEST_F(Router, ControlsThatLeaveNoClickLeaveThatToThemselves) {
  a.clickEvents = false;
  Down({15, 15});
  EXPECT_EQ(Up({15, 15}), "release Up a(5,5)");
}

TEST_F(Router, ARemovedControlIsForgottenAndItsCaptureReleased) {
  Hover({15, 15});
  Down({15, 15});
  EXPECT_EQ(Say(router.Remove(a)), "release");
  EXPECT_FALSE(router.Knows(&a));
  EXPECT_TRUE(router.Knows(&host));
  EXPECT_EQ(router.Hot(), nullptr);
  EXPECT_EQ(router.Pressed(), nullptr);
  EXPECT_EQ(Hover({15, 15}), "- Enter host");
  EXPECT_EQ(Say(router.Remove(b)), "-");
}

}  // namespace
}  // namespace vh
