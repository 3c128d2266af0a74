// A reader of VTK XML image data written from the format's description, not
// from the program's writer: it takes any header type, byte order and array
// order the format allows for raw appended data, so that a test passes only
// when the file is what an analysis tool would read.
#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <bit>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

struct VtiImage {
    int extent[6] = {0, 0, 0, 0, 0, 0};
    double origin[3] = {0, 0, 0};
    double spacing[3] = {0, 0, 0};
    struct Array {
        int components = 1;
        std::vector<float> values;
    };
    std::map<std::string, Array> pointData;
    int PointCount() const
    {
        return (extent[1] - extent[0] + 1) * (extent[3] - extent[2] + 1) * (extent[5] - extent[4] + 1);
    }
};

// Empty on success, else what is wrong with the file.
inline std::string ReadVti(const QByteArray& file, VtiImage& image)
{
    // Raw appended data is not XML: the markup ends at the "_" marker, and
    // the blocks follow it.
    const qsizetype appended = file.indexOf("<AppendedData");
    const qsizetype marker = appended < 0 ? -1 : file.indexOf('_', appended);
    if (marker < 0)
        return "no appended data";
    QXmlStreamReader xml(file.left(appended) + "</VTKFile>");
    bool little = true, wide = false;
    struct Pending {
        std::string name;
        int components;
        qint64 offset;
    };
    std::vector<Pending> arrays;
    bool inPointData = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("PointData"))
            inPointData = false;
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("VTKFile")) {
            if (a.value("type") != QLatin1String("ImageData"))
                return "not image data";
            little = a.value("byte_order") == QLatin1String("LittleEndian");
            wide = a.value("header_type") == QLatin1String("UInt64");
        } else if (xml.name() == QLatin1String("ImageData")) {
            const auto e = a.value("WholeExtent").split(' ', Qt::SkipEmptyParts);
            const auto o = a.value("Origin").split(' ', Qt::SkipEmptyParts);
            const auto s = a.value("Spacing").split(' ', Qt::SkipEmptyParts);
            if (e.size() != 6 || o.size() != 3 || s.size() != 3)
                return "bad extent, origin or spacing";
            for (int i = 0; i < 6; ++i)
                image.extent[i] = e[i].toInt();
            for (int i = 0; i < 3; ++i) {
                image.origin[i] = o[i].toDouble();
                image.spacing[i] = s[i].toDouble();
            }
        } else if (xml.name() == QLatin1String("PointData")) {
            inPointData = true;
        } else if (xml.name() == QLatin1String("DataArray") && inPointData) {
            if (a.value("type") != QLatin1String("Float32") || a.value("format") != QLatin1String("appended"))
                return "an array that is not appended Float32";
            const int components = a.hasAttribute("NumberOfComponents") ? a.value("NumberOfComponents").toInt() : 1;
            arrays.push_back({a.value("Name").toString().toStdString(), components, a.value("offset").toLongLong()});
        }
    }
    if (xml.hasError())
        return "XML error: " + xml.errorString().toStdString();
    const bool swap = little != (std::endian::native == std::endian::little);
    auto get = [&](qint64 at, size_t bytes, void* out) {
        if (at < 0 || at + static_cast<qint64>(bytes) > file.size())
            return false;
        std::memcpy(out, file.constData() + at, bytes);
        if (swap) {
            auto* b = static_cast<unsigned char*>(out);
            for (size_t i = 0; i < bytes / 2; ++i)
                std::swap(b[i], b[bytes - 1 - i]);
        }
        return true;
    };
    for (const Pending& p : arrays) {
        const qint64 at = marker + 1 + p.offset;
        uint64_t length = 0;
        if (wide) {
            if (!get(at, 8, &length))
                return "block header past the end";
        } else {
            uint32_t narrow = 0;
            if (!get(at, 4, &narrow))
                return "block header past the end";
            length = narrow;
        }
        const qint64 data = at + (wide ? 8 : 4);
        if (length % 4 != 0 || data + static_cast<qint64>(length) > file.size())
            return "block of " + p.name + " past the end";
        VtiImage::Array& array = image.pointData[p.name];
        array.components = p.components;
        array.values.resize(length / 4);
        for (size_t i = 0; i < array.values.size(); ++i)
            get(data + static_cast<qint64>(4 * i), 4, &array.values[i]);
    }
    return {};
}
