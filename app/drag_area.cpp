#include "app/drag_area.h"

namespace vh {

bool IsDragArea(const std::vector<DragCandidate>& components, int x, int y) {
  for (const DragCandidate& c : components) {
    if (c.kind == DragKind::Other || !c.visible || c.name == "Image1") continue;
    if (c.left <= x && x <= c.left + c.width && c.top <= y && y <= c.top + c.height) return false;
  }
  return true;
}

}  // namespace vh
