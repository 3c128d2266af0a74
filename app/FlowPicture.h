// The picture of a simulator as a PNG file, in the view asked for.  The
// solver draws it with its own render operation into an off-screen target set up as the frame
// loop sets up the window, so the file holds the pixels the window shows
// for the grid, at W x H or an integer multiple of it.  Needs the calling
// thread's drawing context.
#pragma once

#include <string>

#include <QImage>

#include "platform/files/AtomicFile.h"
#include "sim/LbmSimulator.h"
#include "sim/ViewModes.h"

inline constexpr int kMaxPictureScale = 8;

// The picture of a width x height grid at scale (1 to kMaxPictureScale),
// top row first; a null image, with the reason in *error, when it cannot be
// drawn here.
QImage RenderFlowPicture(LbmSimulator& simulator, int width, int height, int scale, const ViewSettings& view,
                         std::string* error);

// Replaces the file at path with the image as PNG, in one step.  Returns an
// empty string, or what failed; the file is then as it was.
std::string WritePngFile(const std::string& path, const QImage& image, const AtomicWriteOptions& options = {});

// Draws the picture and replaces the file at path with it in one step.
// Returns an empty string, or what failed; the file is then as it was.
std::string WriteFlowPicture(const std::string& path, LbmSimulator& simulator, int width, int height, int scale,
                             const ViewSettings& view);
