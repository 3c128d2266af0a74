// The registered messages of the numeric spin control.  Each name is the
// registration string itself; the control, its parts and its parent talk
// through them, so that a derived control can change how positions read as
// text and texts as positions.
#pragma once

#include "platform/messages/RegisteredMessage.h"

// result = position
inline const UINT SEM_GETPOS = RegisterWindowMessage("SEM_GETPOS :: {0BE32DC8-69D1-4291-BADC-FC1B478D03AC}");
// wParam = SEM_SETPOS options, lParam = new position
inline const UINT SEM_SETPOS = RegisterWindowMessage("SEM_SETPOS :: {03D234FC-45B3-42e5-B7D5-4FBEF1BC87D8}");
// wParam = int* for lo, lParam = int* for hi; either may be null
inline const UINT SEM_GETRANGE = RegisterWindowMessage("SEM_GETRANGE :: {9E7B34B5-427E-4359-8F35-34633642373C}");
// wParam = lo, lParam = hi
inline const UINT SEM_SETRANGE = RegisterWindowMessage("SEM_SETRANGE :: {4EE75397-9E79-4333-98D8-91F37F4499E7}");
// result = 1 when the text field is read-only
inline const UINT SEM_GETREADONLY =
    RegisterWindowMessage("SEM_GETREADONLY :: {3FF8C215-B071-441b-8AB9-1A9B9E0A06D9}");
// wParam nonzero = read-only
inline const UINT SEM_SETREADONLY =
    RegisterWindowMessage("SEM_SETREADONLY :: {F24CB885-E72D-4686-93A4-BD9FCBD5E4D7}");
inline const UINT SEM_SHOWPOPUP = RegisterWindowMessage("SEM_SHOWPOPUP :: {99CBBF3C-A85D-4f1c-AB2B-197EB6236A43}");
// wParam 0 = popup opened, 1 = popup closed; sent by the popup to its owner
inline const UINT SEM_POPUPSTATECHANGE =
    RegisterWindowMessage("SEM_POPUPSTATECHANGE :: {23C15FFB-2B54-4e1e-93E7-AD84D16C6C6E}");
// wParam = position, lParam = char* buffer of at least kSpinTextBuffer bytes
inline const UINT SEM_GETSTRING = RegisterWindowMessage("SEM_GETSTRING :: {052479E4-7FDF-4162-8D4F-A9EA8A2339F6}");
// lParam = const char* text; result = the position it stands for
inline const UINT SEM_GETVALUE = RegisterWindowMessage("SEM_GETVALUE :: {4E5BDFFD-7B56-4d5e-B166-E45A3FBFC9A4}");
// to the parent: wParam = the control (QWidget*), lParam = new position
inline const UINT SEN_CHANGED = RegisterWindowMessage("SEN_CHANGED :: {0840C531-D606-458a-BE7E-8321AE26B416}");

// SEM_SETPOS options.
enum : WPARAM {
    SETPOS_KEEPTEXT = 1,  // leave the text as it is
    SETPOS_FORCE = 2,     // apply even when equal to the position
    SETPOS_NOTIFY = 4,    // send SEN_CHANGED
};

// Creation flags of CSpinEdit.
enum : unsigned {
    SPIN_UPDOWN = 1,        // up-down arrows
    SPIN_POPUPBUTTON = 2,   // "..." button opening the popup slider
    SPIN_POSITIONBAR = 4,   // position bar under the text
    SPIN_NOTIFYALWAYS = 8,  // SEN_CHANGED also while suppressed
};

// Size of the buffers that SEM_GETSTRING fills.
inline constexpr int kSpinTextBuffer = 256;
// Longest text the text field reads back.
inline constexpr int kSpinTextMax = 254;
