#include <epoxy/gl.h>

#include "app/FlowPicture.h"

#include <cstring>
#include <vector>

#include "app/PngEncoder.h"
#include "platform/files/AtomicFile.h"
#include "platform/gl/RenderContext.h"
#include "sim/MatrixScope.h"
#include "sim/RenderTexture.h"
#include "sim/RenderToTexture.h"

QImage RenderFlowPicture(LbmSimulator& simulator, int width, int height, int scale, const ViewSettings& view,
                         std::string* error)
{
    auto fail = [error](std::string why) {
        if (error)
            *error = std::move(why);
        return QImage();
    };
    if (scale < 1 || scale > kMaxPictureScale)
        return fail("the picture scale must be 1 to " + std::to_string(kMaxPictureScale));
    if (width < 1 || height < 1)
        return fail("the grid is empty");
    if (CurrentRenderContextSerial() == 0)
        return fail("there is no OpenGL drawing context to draw the picture in");
    const int w = width * scale, h = height * scale;
    GLint maxTexture = 0, maxViewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
    if (w > maxTexture || h > maxTexture || w > maxViewport[0] || h > maxViewport[1])
        return fail("a picture of " + std::to_string(w) + " x " + std::to_string(h) +
                    " pixels is larger than this OpenGL context can draw");

    RenderTexture target(GL_TEXTURE_2D, GL_RGBA8);
    target.Resize(nullptr, w, h);
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    {
        // The caller's matrices come back at the end of the scope.
        MatrixScope matrices;
        RenderToTexture scope(target);
        if (!scope.Active())
            return fail("the off-screen picture could not be created");
        // What the frame loop does before it draws, with the picture
        // rectangle covering the whole target.
        SetOrthoFor(target);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        RenderView(simulator, view, {0.0f, static_cast<float>(w), 0.0f, static_cast<float>(h)});
        glBindFramebuffer(GL_READ_FRAMEBUFFER, target.Framebuffer());
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    }
    // Rows come bottom first; the window shows colour only, not alpha.
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        const unsigned char* src = rgba.data() + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(w) * 4;
        unsigned char* dst = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
    }
    return image;
}

std::string WriteFlowPicture(const std::string& path, LbmSimulator& simulator, int width, int height, int scale,
                             const ViewSettings& view)
{
    std::string error;
    const QImage image = RenderFlowPicture(simulator, width, height, scale, view, &error);
    if (image.isNull())
        return error;
    return WritePngFile(path, image);
}

std::string WritePngFile(const std::string& path, const QImage& image, const AtomicWriteOptions& options)
{
    std::vector<char> png;
    std::string error;
    if (!EncodePng(image, png, &error))
        return error;
    if (const int e = WriteFileAtomically(path, png.data(), png.size(), options))
        return std::strerror(e);
    return {};
}
