// Maps a point of the picture area to a lattice cell.  The picture fills the
// view's width from the lower-left corner and keeps the grid's aspect ratio,
// so rows count upwards from the bottom of the view.
#pragma once

#include <cstdint>

struct GridPoint {
    int32_t gx = 0;
    int32_t gy = 0;
    bool inside = false;
};

struct ViewGeometry {
    int32_t viewWidth = 0;
    int32_t viewHeight = 0;
    int32_t gridWidth = 0;
    int32_t gridHeight = 0;
};

// px to the right, py downwards from the top of the client area.  Nothing is
// inside while the view has no width (the editor then covers the window).
GridPoint ClientToGrid(const ViewGeometry& view, int32_t px, int32_t py);
