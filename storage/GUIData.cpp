#include "storage/GUIData.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"

namespace {
constexpr GUIDATA kDefaults = {{100, 100, 100}, 0.5};
}  // namespace

const char* CGUIData::KeyPath()
{
    static const std::string path = std::string("SOFTWARE\\") + "Ostrevo Technologies" + "\\" + "Pelmaxi" + "\\Quillet";
    return path.c_str();
}

CGUIData::CGUIData() : data(kDefaults)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyPath(), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        Save();
        return;
    }
    // A shorter value fills only the leading fields; a longer one its first 20 bytes.
    std::vector<uint8_t> stored;
    if (key.QueryBinary(kValueName, stored) != ERROR_SUCCESS || stored.empty()) return;
    GUIDATA read = kDefaults;
    std::memcpy(&read, stored.data(), std::min(stored.size(), sizeof read));
    // A field no editor could have written (a negative or absurd width, a
    // fraction outside the window or not a number) keeps its default, as
    // an unreadable value does.
    for (int c = 0; c < 3; ++c)
        if (read.columns[c] >= 0 && read.columns[c] <= kMaxColumnWidth) data.columns[c] = read.columns[c];
    if (read.splitterPos >= 0.0 && read.splitterPos <= 1.0) data.splitterPos = read.splitterPos;
}

void CGUIData::Save() const
{
    // Failures are ignored: the editor goes on with the values of this run.
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, KeyPath(), KEY_ALL_ACCESS) == ERROR_SUCCESS)
        key.SetBinary(kValueName, &data, sizeof data);
}

int CGUIData::getCol(int index) const
{
    if (index < 0 || index > 2) return 0;
    return data.columns[index];
}

void CGUIData::setCol(int index, int width)
{
    if (index < 0 || index > 2) return;
    data.columns[index] = width;
    Save();
}

void CGUIData::setSplitterPos(double fraction)
{
    data.splitterPos = fraction;
    Save();
}
