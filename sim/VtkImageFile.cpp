#include "sim/VtkImageFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "sim/LittleEndian.h"

namespace {
// About a quarter of a megabyte per block: large enough that a file write
// goes out without another copy, small enough to stay in the cache.
constexpr size_t kBlockFloats = 1 << 16;
}  // namespace

bool EncodeVtkImage(const std::vector<float>& field, int width, int height, const ByteSink& sink)
{
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    const uint64_t velocityBytes = uint64_t{cells} * 3 * sizeof(float);
    const uint64_t densityBytes = uint64_t{cells} * sizeof(float);
    const std::string extent = "0 " + std::to_string(width - 1) + " 0 " + std::to_string(height - 1) + " 0 0";
    // Appended offsets count from the byte after the "_" marker; each block
    // starts with its size in the declared header type.
    const std::string header =
        "<?xml version=\"1.0\"?>\n"
        "<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n"
        "  <ImageData WholeExtent=\"" + extent + "\" Origin=\"0 0 0\" Spacing=\"1 1 1\">\n"
        "    <Piece Extent=\"" + extent + "\">\n"
        "      <PointData Scalars=\"density\" Vectors=\"velocity\">\n"
        "        <DataArray type=\"Float32\" Name=\"velocity\" NumberOfComponents=\"3\" format=\"appended\" offset=\"0\"/>\n"
        "        <DataArray type=\"Float32\" Name=\"density\" format=\"appended\" offset=\"" +
        std::to_string(sizeof(uint64_t) + velocityBytes) + "\"/>\n"
        "      </PointData>\n"
        "    </Piece>\n"
        "  </ImageData>\n"
        "  <AppendedData encoding=\"raw\">\n"
        "   _";
    const std::string trailer = "\n  </AppendedData>\n</VTKFile>\n";

    std::vector<char> lead(header.begin(), header.end());
    le::Append<uint64_t>(lead, velocityBytes);
    if (!sink(lead.data(), lead.size()))
        return false;

    // Velocity keeps the dump's (ux, uy) pairs and adds a zero z component,
    // density takes the third value of each record; both go out in blocks
    // of whole rows, so that no second copy of the field is ever made.
    const size_t rowCells = static_cast<size_t>(width);
    const int rowsPerBlock = static_cast<int>(std::max<size_t>(1, kBlockFloats / (3 * rowCells)));
    std::vector<float> block(static_cast<size_t>(rowsPerBlock) * rowCells * 3);
    auto sendRows = [&](int components) {
        for (int y0 = 0; y0 < height; y0 += rowsPerBlock) {
            const size_t first = static_cast<size_t>(y0) * rowCells;
            const size_t count = static_cast<size_t>(std::min(rowsPerBlock, height - y0)) * rowCells;
            const float* src = field.data() + 3 * first;
            float* dst = block.data();
            for (size_t n = 0; n < count; ++n) {
                if (components == 3) {
                    dst[3 * n] = src[3 * n];
                    dst[3 * n + 1] = src[3 * n + 1];
                    dst[3 * n + 2] = 0.0f;
                } else {
                    dst[n] = src[3 * n + 2];
                }
            }
            const size_t values = count * static_cast<size_t>(components);
            le::ToFileOrder(dst, values);
            if (!sink(dst, values * sizeof(float)))
                return false;
        }
        return true;
    };
    if (!sendRows(3))
        return false;
    std::vector<char> between;
    le::Append<uint64_t>(between, densityBytes);
    return sink(between.data(), between.size()) && sendRows(1) && sink(trailer.data(), trailer.size());
}

std::vector<char> EncodeVtkImage(const std::vector<float>& field, int width, int height)
{
    std::vector<char> out;
    EncodeVtkImage(field, width, height, AppendTo(out));
    return out;
}
