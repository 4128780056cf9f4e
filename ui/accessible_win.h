// The MSAA face of a window whose controls are partly windowless. The
// window answers WM_GETOBJECT (OBJID_CLIENT) with an IAccessible whose
// children are the entries its host lists: simple elements (ids 1..n)
// described by portable AccessibleElement data, or child windows, which are
// handed out as their standard accessible objects. Everything about the
// window itself (its role, parent, the windows around it) comes from the
// system's standard object.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/accessible_element.h"

namespace vh {

class TControl;

struct AccessibleChild {
  AccessibleElement element;
  TControl* control = nullptr;
  HWND window = nullptr;  // a windowed child: its standard object stands in
};

class AccessibleHost {
 public:
  virtual ~AccessibleHost() = default;
  virtual HWND AccessibleWindow() = 0;
  // Visible children in reading order; child id = index + 1.
  virtual std::vector<AccessibleChild> AccessibleChildren() = 0;
  // Index of the windowless child that has the keyboard focus, or -1.
  virtual int FocusedAccessibleChild() = 0;
  // Runs the child's default action once the call has returned.
  virtual void PostAccessiblePress(int index) = 0;
};

// Shared by the host and every object handed out; the host clears it when
// it goes, and objects still held by a client then answer "gone".
using AccessibleLink = std::shared_ptr<AccessibleHost*>;

// The answer to WM_GETOBJECT: our object for OBJID_CLIENT, 0 (the system's
// default handling) for everything else.
LRESULT AnswerGetObject(const AccessibleLink& link, WPARAM wp, LPARAM lp);

// Raises EVENT_OBJECT_FOCUS for a windowless child (index as listed).
void NotifyAccessibleFocus(HWND hwnd, int index);

}  // namespace vh
