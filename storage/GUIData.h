// The editor's layout record: three list column widths and the splitter
// position, kept in the current user's registry as the 20-byte binary value
// "GuiData".  Every change is written through at once.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct GUIDATA {
    int32_t columns[3];
    double splitterPos;  // fraction of the editor's client width
};
#pragma pack(pop)
static_assert(sizeof(GUIDATA) == 20);

class CGUIData {
public:
    // Reads the record; with no key, writes the defaults.  Stored fields
    // outside their range read as their defaults.
    CGUIData();

    void Save() const;
    // index 0..2; other indices read 0 and write nothing.
    int getCol(int index) const;
    void setCol(int index, int width);
    double getSplitterPos() const { return data.splitterPos; }
    void setSplitterPos(double fraction);

    const GUIDATA& GetRecord() const { return data; }

    static const char* KeyPath();
    static constexpr const char* kValueName = "GuiData";
    // The widest list column: the most the list's header takes.
    static constexpr int kMaxColumnWidth = 1048575;

private:
    GUIDATA data;
};
