// Every private window message of the program, in one place so that no two
// meanings share a number.
//
// Ranges (Win32): WM_USER..0x7FFF belongs to a window class; WM_APP..0xBFFF
// to the application. The wake-up crosses processes (a second start wakes
// the first), so its number is part of the program's outside and never
// changes; 0x6606, 0x6607 and 0x6609 once started the unattended modes and
// stay unused: a mode comes from the command line only, never from a
// message another process can post. Messages
// posted between a dialog and its own worker stay inside one process and
// one window class; they start at WM_APP + 1 per dialog, which is safe
// because each goes to its own window only.
#pragma once

#include <windows.h>

namespace vh {

// The main window, across processes (WM_USER range, numbers fixed).
constexpr UINT WM_WAKEINSTANCE = 0x6604;  // a second start: come forward
// Posted to itself when shown: what the first paint does not need is read
// after it.
constexpr UINT WM_AFTERFIRSTPAINT = 0x660A;

// Any form: press the control an accessibility client asked to press, on
// the window's own thread (lParam: the TControl).
constexpr UINT WM_ACCESSIBLEPRESS = 0x6640;

// Any skinned button answers 1: tells a skin button from another focused
// window without a class name lookup (WM_APP range).
constexpr UINT WM_ISSKINBUTTON = 0x8BB8;

// The scan's progress dialog and its worker (to that dialog only).
constexpr UINT WM_SCANSTART = WM_APP + 1;   // the dialog is up: start the worker
constexpr UINT WM_SCANHIVEDONE = WM_APP + 2;  // wParam: first hive's ms; lParam: hives done
constexpr UINT WM_SCANSTATUS = WM_APP + 3;  // the status text changed
constexpr UINT WM_SCANCOPIESDONE = WM_APP + 4;  // the copies are done: the checks begin

// The restore point dialog and its worker (to that dialog only; lParam:
// nonzero when the point could not be made).
constexpr UINT WM_RESTOREPOINTDONE = WM_APP + 1;

// Timer ids of the main window.
constexpr UINT_PTR kRestartWatchTimer = 0x5652;  // a restart that was asked for but never came

}  // namespace vh
