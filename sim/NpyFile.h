// The velocity field as a NumPy array file (".npy", format 1.0): float32,
// shape (height, width, 3) holding (ux, uy, rho), row 0 at the bottom as in
// the velocity dump, so that a[y, x] is cell (x, y).
#pragma once

#include <vector>

// field: width * height records (ux, uy, rho) in cell order.
std::vector<char> EncodeNpy(const std::vector<float>& field, int width, int height);
