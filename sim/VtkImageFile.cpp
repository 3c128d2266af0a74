#include "sim/VtkImageFile.h"

#include <cstdint>
#include <string>

#include "sim/LittleEndian.h"

std::vector<char> EncodeVtkImage(const std::vector<float>& field, int width, int height)
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

    std::vector<char> out;
    out.reserve(header.size() + 2 * sizeof(uint64_t) + velocityBytes + densityBytes + trailer.size());
    out.insert(out.end(), header.begin(), header.end());

    // Velocity keeps the dump's (ux, uy) pairs and adds a zero z component;
    // staged in rows so that the conversion never needs a second full copy.
    le::Append<uint64_t>(out, velocityBytes);
    std::vector<float> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const float* src = field.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int x = 0; x < width; ++x) {
            row[3 * static_cast<size_t>(x)] = src[3 * static_cast<size_t>(x)];
            row[3 * static_cast<size_t>(x) + 1] = src[3 * static_cast<size_t>(x) + 1];
            row[3 * static_cast<size_t>(x) + 2] = 0.0f;
        }
        le::AppendArray(out, row.data(), row.size());
    }
    le::Append<uint64_t>(out, densityBytes);
    row.resize(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        const float* src = field.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int x = 0; x < width; ++x)
            row[static_cast<size_t>(x)] = src[3 * static_cast<size_t>(x) + 2];
        le::AppendArray(out, row.data(), row.size());
    }
    out.insert(out.end(), trailer.begin(), trailer.end());
    return out;
}
