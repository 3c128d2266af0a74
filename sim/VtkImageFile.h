// The velocity field as VTK image data (".vti"): one point per cell, origin
// at cell (0, 0), unit spacing, a 3-component "velocity" array (ux, uy, 0)
// and a "density" array, both 32-bit floats in binary appended form,
// little-endian, with 64-bit block sizes.
#pragma once

#include <vector>

#include "platform/bytes/ByteSink.h"

// field: width * height records (ux, uy, rho) in cell order, as the
// velocity dump holds them.
// The file's bytes go to sink; false when the sink refused a block.
bool EncodeVtkImage(const std::vector<float>& field, int width, int height, const ByteSink& sink);
std::vector<char> EncodeVtkImage(const std::vector<float>& field, int width, int height);
