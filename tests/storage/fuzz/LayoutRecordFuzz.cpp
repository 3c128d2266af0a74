// The stored "GuiData" value, as its registry value file holds it (the
// 32-bit type, then the value's bytes), into the editor's layout record.
// Whatever is stored, the record comes out with widths and a fraction the
// editor can lay itself out with, and a record written back reads back
// unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "storage/GUIData.h"
#include "tests/fuzz/FuzzSandbox.h"
#include "tests/fuzz/RegistryValueFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSandbox::Get();
    static const std::string file = RegistryValueFile(HKEY_CURRENT_USER, CGUIData::KeyPath(), CGUIData::kValueName);
    FuzzSandbox::Write(file, data, size);

    const CGUIData read;
    for (int c = 0; c < 3; ++c)
        if (read.getCol(c) < 0 || read.getCol(c) > CGUIData::kMaxColumnWidth) std::abort();
    if (!(read.getSplitterPos() >= 0.0 && read.getSplitterPos() <= 1.0)) std::abort();

    read.Save();
    const CGUIData again;
    if (std::memcmp(&read.GetRecord(), &again.GetRecord(), sizeof(GUIDATA)) != 0) std::abort();
    return 0;
}
