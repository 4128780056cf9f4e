// The flat speed button's input-to-state rules, free of any window: face
// state, hover, tracking and the group latch. Each operation says what the
// caller has to do next (repaint, click, give up the hover timer, announce
// the latch to the group); the Win32 button carries it out.
#pragma once

#include "flat/speed_button_layout.h"

namespace vh {

// Inside for a tracked press: the bottom edge row counts, the right edge
// column does not.
inline bool InsideForTracking(Point p, Size client) {
  return p.x >= 0 && p.x < client.width && p.y >= 0 && p.y <= client.height;
}

struct ReleaseOutcome {
  bool repaint = false;     // repaint (at once) before clicking
  bool click = false;       // released inside
  bool hoverLeave = false;  // released outside
  bool updateHover = false; // re-evaluate the hover afterwards
  bool announce = false;    // the release latched a group member: tell the group first
};

struct DownOutcome {
  bool changed = false;
  bool repaint = false;
  bool announce = false;  // tell the other members of the group
};

class SpeedButtonState {
 public:
  FaceState faceState = FaceState::Up;
  bool hovered = false;
  bool tracking = false;
  bool down = false;
  bool allowAllUp = false;
  bool enabled = true;
  int groupIndex = 0;

  // Left or other button pressed on an enabled button; true: repaint.
  bool Press(bool left);
  // Move while tracking; true: the face changed, repaint.
  bool TrackMove(bool inside);
  // Space held (true) or let go (false) on the focused button: pressed while
  // held, as under a held mouse button. A latched button, or one the mouse
  // holds, keeps its face. True: the face changed, repaint.
  bool KeyHold(bool held);
  ReleaseOutcome Release(bool inside);
  DownOutcome SetDown(bool value);
  // Another member of the same group went down; true: repaint.
  bool OtherWentDown(bool senderDown, bool senderAllowAllUp);

  // true: Hovered changed and the face must be repainted.
  bool HoverEnter();
  // true: the hover ended; the caller gives up the hover timer and repaints.
  bool HoverLeave();
  // The net effect of re-checking the hover with the cursor over (or not
  // over) the button. Returns which of enter/leave the caller then runs.
  enum class HoverAction { None, Enter, Leave };
  HoverAction UpdateHover(bool under);

  // The button was disabled: no hover, disabled face.
  void Disable();
  // Correction made at every paint: a disabled button shows disabled, an
  // enabled one leaves the disabled face.
  void CorrectForPaint();
  // The offset of caption and glyph: one pixel while pressed or latched.
  Point ContentOffset() const;
};

}  // namespace vh
