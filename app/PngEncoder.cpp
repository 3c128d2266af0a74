#include "app/PngEncoder.h"

#include <cstring>
#include <new>

#include <png.h>
#include <zlib.h>

namespace {
struct PngOutput {
    std::vector<char>* bytes;
    char message[160] = "";
};

void OnError(png_structp writer, png_const_charp message)
{
    auto* out = static_cast<PngOutput*>(png_get_error_ptr(writer));
    std::strncpy(out->message, message ? message : "", sizeof out->message - 1);
    png_longjmp(writer, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void Append(png_structp writer, png_bytep data, size_t size)
{
    auto* out = static_cast<PngOutput*>(png_get_io_ptr(writer));
    bool full = false;
    try {
        out->bytes->insert(out->bytes->end(), data, data + size);
    } catch (const std::bad_alloc&) {
        full = true;
    }
    // Outside the handler: the error jumps back into the encoder.
    if (full)
        png_error(writer, "not enough memory for the picture");
}

void Flush(png_structp) {}

// Everything between the jump target and the last call to the library, with
// no object here that a jump out of the library would skip.
bool WriteImage(png_structp writer, png_infop info, const QImage& image)
{
    if (setjmp(png_jmpbuf(writer)))
        return false;
    png_set_IHDR(writer, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_strategy(writer, Z_RLE);
    png_write_info(writer, info);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(writer, image.constScanLine(y));
    png_write_end(writer, info);
    return true;
}
}  // namespace

bool EncodePng(const QImage& picture, std::vector<char>& png, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error)
            *error = "the picture could not be encoded as PNG: " + why;
        return false;
    };
    if (picture.isNull())
        return fail("it is empty");
    const QImage image =
        picture.format() == QImage::Format_RGB888 ? picture : picture.convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        return fail("not enough memory for the picture");
    PngOutput out{&png};
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, OnError, OnWarning);
    if (!writer)
        return fail("not enough memory for the picture");
    png_infop info = png_create_info_struct(writer);
    if (!info) {
        png_destroy_write_struct(&writer, nullptr);
        return fail("not enough memory for the picture");
    }
    png_set_write_fn(writer, &out, Append, Flush);
    const bool written = WriteImage(writer, info, image);
    png_destroy_write_struct(&writer, &info);
    return written ? true : fail(out.message);
}
