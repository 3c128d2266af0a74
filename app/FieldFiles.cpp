#include "app/FieldFiles.h"

#include <cstring>

#include "platform/files/AtomicFile.h"
#include "sim/NpyFile.h"
#include "sim/VtkImageFile.h"

std::string WriteFieldFile(FieldFormat format, const std::string& path, const std::vector<float>& field, int width,
                           int height, const AtomicWriteOptions& options)
{
    int error = 0;
    switch (format) {
    case FieldFormat::RawDump:
        error = WriteFileAtomically(path, field.data(), field.size() * sizeof(float), options);
        break;
    case FieldFormat::Vtk:
        error = WriteFileAtomically(
            path, [&](const ByteSink& sink) { return EncodeVtkImage(field, width, height, sink); }, options);
        break;
    case FieldFormat::Npy:
        error = WriteFileAtomically(
            path, [&](const ByteSink& sink) { return EncodeNpy(field, width, height, sink); }, options);
        break;
    }
    return error ? std::strerror(error) : std::string();
}
