// The velocity field as a NumPy array file (".npy", format 1.0): float32,
// shape (height, width, 3) holding (ux, uy, rho), row 0 at the bottom as in
// the velocity dump, so that a[y, x] is cell (x, y).
#pragma once

#include <vector>

#include "platform/bytes/ByteSink.h"

// field: width * height records (ux, uy, rho) in cell order.
// The file's bytes go to sink; false when the sink refused a block.
bool EncodeNpy(const std::vector<float>& field, int width, int height, const ByteSink& sink);
std::vector<char> EncodeNpy(const std::vector<float>& field, int width, int height);
