// The velocity field written for analysis tools: the raw dump layout, VTK
// image data or a NumPy array, each replacing its file in one step.
#pragma once

#include <string>
#include <vector>

#include "platform/files/AtomicFile.h"

enum class FieldFormat {
    RawDump,  // the velocity dump's layout: (ux, uy, rho) per cell, no header
    Vtk,      // ".vti" image data
    Npy,      // ".npy" array of shape (H, W, 3)
};

// field: width * height records (ux, uy, rho) in cell order.  Returns an
// empty string, or the system's reason; the file is then as it was.
std::string WriteFieldFile(FieldFormat format, const std::string& path, const std::vector<float>& field, int width,
                           int height, const AtomicWriteOptions& options = {});
