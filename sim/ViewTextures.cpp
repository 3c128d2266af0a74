#include <epoxy/gl.h>

#include "sim/ViewTextures.h"

#include "platform/gl/RenderContext.h"
#include "sim/ColourMaps.h"

ViewTextures::ViewTextures() : colourMaps(GL_TEXTURE_2D, GL_RGBA8), mask(GL_TEXTURE_RECTANGLE, GL_R8) {}

bool ViewTextures::Prepare(int W, int H, uint64_t revision, const MaskSource& source)
{
    const uint64_t serial = CurrentRenderContextSerial();
    if (serial == 0 || W < 1 || H < 1)
        return false;
    const bool newContext = serial != contextSerial;
    if (newContext) {
        contextSerial = serial;
        colourMaps.Resize(ColourMaps().data(), kColourMapSize, 2);
        // Lookups stay between the first and last texel centres; clamping to
        // the edge keeps the border colour out of them all the same.
        colourMaps.SetParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    }
    if (newContext || revision != maskRevision || mask.Width() != W || mask.Height() != H || !mask.Exists()) {
        const size_t n = static_cast<size_t>(W) * static_cast<size_t>(H);
        // Scratch arrays: needed again only after the next change.
        std::vector<int32_t> cells(n, 0);
        source(cells);
        std::vector<float> texels(4 * n, 0.0f);
        for (size_t c = 0; c < n; ++c)
            texels[4 * c] = cells[c] != 0 ? 1.0f : 0.0f;
        mask.Resize(texels.data(), W, H);
        mask.SetParameters(GL_NEAREST, GL_NEAREST, GL_CLAMP, GL_CLAMP);
        maskRevision = revision;
    }
    return true;
}
