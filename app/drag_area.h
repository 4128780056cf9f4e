// Which points of the borderless main window move it: the background picture
// and every uncovered spot do; labels, flat buttons and pictures on top of it
// do not. Windowed controls answer their own hit tests and are not involved.
#pragma once

#include <string>
#include <vector>

namespace vh {

enum class DragKind { Picture, Label, FlatButton, Other };

struct DragCandidate {
  std::string name;
  DragKind kind = DragKind::Other;
  bool visible = true;
  int left = 0, top = 0, width = 0, height = 0;
};

// x and y relative to the window's top-left corner; candidates in creation
// order. Both edges of a component count as inside it.
bool IsDragArea(const std::vector<DragCandidate>& components, int x, int y);

}  // namespace vh
