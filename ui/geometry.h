// Small portable geometry shared by every control family: the layout math of
// the windowless, skinned and flat controls works on these, and the Win32
// side turns them into RECTs. Rectangles are (left, top, right, bottom) with
// right and bottom exclusive, as the platform's RECT.
#pragma once

#include <ostream>

namespace vh {

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  // A rectangle with no pixels (width or height 0 or negative).
  bool IsEmpty() const { return right <= left || bottom <= top; }
  Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
};

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }
inline bool operator==(const Size& a, const Size& b) { return a.width == b.width && a.height == b.height; }
inline bool operator!=(const Size& a, const Size& b) { return !(a == b); }
inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }

// For test messages.
inline std::ostream& operator<<(std::ostream& os, const Point& p) { return os << '(' << p.x << ", " << p.y << ')'; }
inline std::ostream& operator<<(std::ostream& os, const Size& s) { return os << s.width << " x " << s.height; }
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}


// Right and bottom edges excluded, as the platform's PtInRect.
inline bool Contains(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

inline Rect MakeRect(int left, int top, int width, int height) { return Rect{left, top, left + width, top + height}; }

// The columns of a bitmap strip that frame k (1-based) of N takes, with
// fw = width / N: for k < N columns (k - 1) fw up to k fw, for k = N the
// rightmost fw columns; always the full height. Otherwise (N < 1, k < 1 or
// k > N, negative sizes) the frame is the empty rectangle, so nothing is
// copied. Skin styles and theme files cut their strips alike.
inline Rect CutSkinFrame(Size source, int frameCount, int frameIndex) {
  if (frameCount < 1 || frameIndex < 1 || frameIndex > frameCount || source.width < 0 || source.height < 0) {
    return Rect{};
  }
  const int fw = source.width / frameCount;
  if (frameIndex < frameCount) {
    return Rect{(frameIndex - 1) * fw, 0, frameIndex * fw, source.height};
  }
  return Rect{source.width - fw, 0, source.width, source.height};
}

}  // namespace vh
