#include "flat/speed_button_state.h"

namespace vh {

bool SpeedButtonState::Press(bool left) {
  if (!left || !enabled) return false;
  bool repaint = false;
  if (!down) {
    faceState = FaceState::Pressed;
    repaint = true;
  }
  tracking = true;
  return repaint;
}

bool SpeedButtonState::TrackMove(bool inside) {
  if (!tracking) return false;
  FaceState next = down ? FaceState::Latched : FaceState::Up;
  if (inside) next = down ? FaceState::Latched : FaceState::Pressed;
  if (next == faceState) return false;
  faceState = next;
  return true;
}

bool SpeedButtonState::KeyHold(bool held) {
  if (!enabled || down || tracking) return false;
  FaceState next = held ? FaceState::Pressed : FaceState::Up;
  if (next == faceState) return false;
  faceState = next;
  return true;
}

ReleaseOutcome SpeedButtonState::Release(bool inside) {
  ReleaseOutcome out;
  if (!tracking) return out;
  tracking = false;
  if (groupIndex == 0) {
    faceState = FaceState::Up;
    hovered = false;
    out.repaint = inside;
  } else if (inside) {
    out.announce = SetDown(!down).announce;
    out.repaint = down;
  } else {
    if (down) faceState = FaceState::Latched;
    out.repaint = true;
  }
  out.click = inside;
  out.hoverLeave = !inside;
  out.updateHover = true;
  return out;
}

DownOutcome SpeedButtonState::SetDown(bool value) {
  DownOutcome out;
  if (groupIndex == 0) value = false;
  if (value == down || (down && !allowAllUp)) return out;
  down = value;
  out.changed = true;
  if (value) {
    out.repaint = faceState == FaceState::Up;
    faceState = FaceState::Latched;
    out.announce = true;
  } else {
    faceState = FaceState::Up;
    out.repaint = true;
  }
  return out;
}

bool SpeedButtonState::OtherWentDown(bool senderDown, bool senderAllowAllUp) {
  bool repaint = false;
  if (senderDown && down) {
    down = false;
    faceState = FaceState::Up;
    repaint = true;
  }
  allowAllUp = senderAllowAllUp;
  return repaint;
}

bool SpeedButtonState::HoverEnter() {
  if (!enabled || hovered) return false;
  hovered = true;
  return true;
}

bool SpeedButtonState::HoverLeave() {
  if (!enabled || !hovered || tracking) return false;
  hovered = false;
  return true;
}

SpeedButtonState::HoverAction SpeedButtonState::UpdateHover(bool under) {
  if (!enabled) return HoverAction::None;
  // Inverted on purpose: the enter or leave that follows then always sees a
  // change and repaints, and ends with Hovered equal to under.
  hovered = !under;
  return hovered ? HoverAction::Leave : HoverAction::Enter;
}

void SpeedButtonState::Disable() {
  hovered = false;
  faceState = FaceState::Disabled;
}

void SpeedButtonState::CorrectForPaint() {
  if (!enabled) {
    faceState = FaceState::Disabled;
    tracking = false;
  } else if (faceState == FaceState::Disabled) {
    faceState = (down && groupIndex != 0) ? FaceState::Latched : FaceState::Up;
  }
}

Point SpeedButtonState::ContentOffset() const {
  bool sunk = faceState == FaceState::Pressed || faceState == FaceState::Latched;
  return sunk ? Point{1, 1} : Point{0, 0};
}

}  // namespace vh
