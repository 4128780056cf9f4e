#include "ui/tab_order.h"

#include <algorithm>
#include <numeric>

namespace vh {

int NextTabStop(const std::vector<bool>& available, int current, bool backward) {
  const int n = int(available.size());
  if (n == 0) return -1;
  int at = current;
  if (at < 0 || at >= n) at = backward ? n : -1;
  for (int step = 0; step < n; ++step) {
    at = backward ? (at - 1 + n) % n : (at + 1) % n;
    if (available[std::size_t(at)]) return at;
  }
  return -1;
}

std::vector<int> ReadingOrder(const std::vector<Rect>& bounds) {
  std::vector<int> order(bounds.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const Rect& ra = bounds[std::size_t(a)];
    const Rect& rb = bounds[std::size_t(b)];
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return order;
}

}  // namespace vh
