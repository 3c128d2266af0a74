// The textures the scalar views share between both solvers: the colour maps
// (sim/ColourMaps.h) and the obstacle mask, one texel per cell, 1 on
// obstacle cells.  The mask follows the obstacle list's revision, so it is
// rebuilt only after the list changed, never per frame.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sim/GlTexture.h"

class ViewTextures {
public:
    ViewTextures();

    // Fills the W * H cells of a mask, in cell order, 1 on obstacle cells;
    // they arrive zeroed.
    using MaskSource = std::function<void(std::span<int32_t> cells)>;

    // Makes both textures current for this context and grid; the mask is
    // asked of source only when its revision or the grid changed.  False
    // without a context.
    bool Prepare(int W, int H, uint64_t maskRevision, const MaskSource& source);

    GlTexture& ColourMapTexture() { return colourMaps; }
    GlTexture& MaskTexture() { return mask; }

private:
    GlTexture colourMaps;
    GlTexture mask;
    uint64_t contextSerial = 0;
    uint64_t maskRevision = 0;
};
