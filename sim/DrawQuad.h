// One textured rectangle.  Texture coordinates are in texels for rectangle
// textures and in [0, 1] for 2-D ones.
#pragma once

struct QuadRect {
    double x0, x1, y0, y1;
};

// Orders the corners so that x0 <= x1 and y0 <= y1.
inline QuadRect MakeQuadRect(double xa, double ya, double xb, double yb)
{
    return {xa < xb ? xa : xb, xa < xb ? xb : xa, ya < yb ? ya : yb, ya < yb ? yb : ya};
}

// Corners (x0, y0), (x1, y0), (x1, y1), (x0, y1), texture coordinate first.
void DrawQuad(const QuadRect& vertexRect, const QuadRect& texRect);
