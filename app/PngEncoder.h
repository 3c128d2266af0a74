// A picture as PNG bytes.  The flow pictures of a study are smooth hues
// written every few seconds beside a running solver, so the encoder trades
// a little size for speed: each row is stored as the difference from the
// pixel to its left, and runs of equal bytes are all zlib looks for.  That
// is more than twice as fast as trying every filter, for files about a
// quarter larger.
#pragma once

#include <string>
#include <vector>

#include <QImage>

// Appends the PNG of image (8-bit RGB; other formats are converted, alpha
// dropped) to png.  False, with the reason in *error, when it cannot.
bool EncodePng(const QImage& image, std::vector<char>& png, std::string* error);
