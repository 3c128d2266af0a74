// A colour reference as the spline editors pass colours around: red in the
// low byte, then green, then blue.
#pragma once

#include <cstdint>

using COLORREF = uint32_t;

constexpr COLORREF MakeColorRef(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned ColorRefRed(COLORREF c) { return c & 0xFFu; }
constexpr unsigned ColorRefGreen(COLORREF c) { return (c >> 8) & 0xFFu; }
constexpr unsigned ColorRefBlue(COLORREF c) { return (c >> 16) & 0xFFu; }
