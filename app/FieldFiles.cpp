#include "app/FieldFiles.h"

#include <cstring>

#include "platform/files/AtomicFile.h"
#include "sim/NpyFile.h"
#include "sim/VtkImageFile.h"

std::string WriteFieldFile(FieldFormat format, const std::string& path, const std::vector<float>& field, int width,
                           int height)
{
    int error = 0;
    switch (format) {
    case FieldFormat::RawDump:
        error = WriteFileAtomically(path, field.data(), field.size() * sizeof(float));
        break;
    case FieldFormat::Vtk: {
        const std::vector<char> bytes = EncodeVtkImage(field, width, height);
        error = WriteFileAtomically(path, bytes.data(), bytes.size());
        break;
    }
    case FieldFormat::Npy: {
        const std::vector<char> bytes = EncodeNpy(field, width, height);
        error = WriteFileAtomically(path, bytes.data(), bytes.size());
        break;
    }
    }
    return error ? std::strerror(error) : std::string();
}
