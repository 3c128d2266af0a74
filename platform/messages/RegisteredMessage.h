// A name stands for a message number.  The first registration of a name in
// the process picks the number; every later registration of the same name,
// from any part of the process, gets the same one.  Names compare without
// regard to ASCII case, as window-message names always have.
#pragma once

#include <cstdint>
#include <string_view>

using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// Numbers of registered messages lie in [0xC000, 0xFFFF]; 0 means the name
// could not be registered (empty, or the numbers are used up).
inline constexpr UINT kFirstRegisteredMessage = 0xC000;
inline constexpr UINT kLastRegisteredMessage = 0xFFFF;

UINT RegisterWindowMessage(std::string_view name);
// Clipboard formats share the numbers of window messages.
inline UINT RegisterClipboardFormat(std::string_view name) { return RegisterWindowMessage(name); }
