// The main window's controls as data, in creation order: what they are,
// where they sit and what they say in English.
#pragma once

#include <cstdint>
#include <vector>

#include "app/drag_area.h"

namespace vh {

enum class MainControlKind {
  Picture,      // the background
  Label,
  ImageButton,  // skinned image button (minimise)
  HoverImage,   // the close knob
  LinkLabel,
  ImagePanel,   // one-pixel separator lines
  FlatButton,
  ListView,
};

struct MainControlSpec {
  const char* name;
  MainControlKind kind;
  int left, top, width, height;
  const char* caption;
  const char* hint;
  std::int32_t colorBorder;  // flat buttons: $00BBGGRR
};

constexpr int kMainClientWidth = 556;
constexpr int kMainClientHeight = 392;

const std::vector<MainControlSpec>& MainWindowLayout();

// The candidates for IsDragArea, straight from the layout (all visible but
// bHomepage, which the window hides at creation).
std::vector<DragCandidate> MainLayoutDragCandidates();

}  // namespace vh
