// Export and import of variable sets: the binary records and the two text
// forms written by "Save", and the binary records read back by "Load".
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "editor/CVarTreeView.h"
#include "editor/EditorPrompts.h"
#include "editor/ImportRecordReader.h"
#include "platform/files/AtomicFile.h"
#include "platform/bytes/LittleEndian32.h"

namespace {

bool PutBytes(FILE* file, const void* bytes, size_t length)
{
    return length == 0 || std::fwrite(bytes, 1, length, file) == length;
}

bool PutU32(FILE* file, uint32_t v)
{
    const auto b = Le32Bytes(v);
    return PutBytes(file, b.data(), b.size());
}

bool PutText(FILE* file, const std::string& text) { return PutBytes(file, text.data(), text.size()); }

// "%*sCreate \"%s\"\r\n"
std::string CreateLine(int depth, const std::string& text)
{
    return std::string(size_t(2 * depth), ' ') + "Create \"" + text + "\"\r\n";
}

// "%c%*sAdd \"%s\", \"%s\"\r\n"
std::string AddLine(char marker, int depth, CVar* var)
{
    std::string line(1, marker);
    line.append(size_t(2 * depth + 1), ' ');
    line += "Add \"";
    line += var->GetName();
    line += "\", \"";
    line += var->AsString();
    line += "\"\r\n";
    return line;
}

}  // namespace

bool CVarTreeView::SaveItem(CVarGroupItem* item, FILE* file, size_t prefixLength, int format, int depth)
{
    bool ok = true;
    if (format == EXPORT_BINARY) {
        for (CVar* var : item->Vars()) {
            const char* full = var->GetName();
            const size_t fullLength = std::strlen(full);
            const char* name = full + (prefixLength <= fullLength ? prefixLength : fullLength);
            const uint32_t nameLength = uint32_t(std::strlen(name) + 1);
            void* bytes = nullptr;
            unsigned length = 0;
            var->GetValue(&bytes, &length);
            ok = ok && PutU32(file, nameLength) && PutBytes(file, name, nameLength) && PutU32(file, length) &&
                 PutBytes(file, bytes, length);
            std::free(bytes);
        }
    } else {
        const bool changesOnly = format == EXPORT_TEXT_CHANGES;
        ok = PutText(file, CreateLine(depth, item->Label()));
        for (CVar* var : item->Vars()) {
            const bool atDefault = var->IsDefault();
            if (changesOnly && atDefault) continue;
            ok = ok && PutText(file, AddLine(atDefault || changesOnly ? ' ' : '*', depth, var));
        }
    }
    for (int i = 0; ok && i < item->childCount(); ++i) {
        CVarGroupItem* child = item->Child(i);
        if (format == EXPORT_TEXT_CHANGES && !HasChanges(child)) continue;
        ok = SaveItem(child, file, prefixLength, format, depth + 1);
    }
    return ok;
}

bool CVarTreeView::SaveToFile(const std::string& path, int format)
{
    CVarGroupItem* item = SelectedGroup();
    if (!item) return false;
    if (format != EXPORT_TEXT && format != EXPORT_TEXT_CHANGES) format = EXPORT_BINARY;
    if (format == EXPORT_TEXT_CHANGES && !HasChanges(item)) {
        Prompts().message(this, "No changes.", "Message");
        return false;
    }
    // Put together in memory, then written beside the target and renamed
    // over it, so that a failed export never leaves a cut file or destroys
    // the previous one.
    AtomicFile target;
    if (!target.Open(path)) {
        Prompts().message(this, "Failed to open file.", "Error");
        return false;
    }
    char* content = nullptr;
    size_t length = 0;
    FILE* file = open_memstream(&content, &length);
    std::string prefix;
    GetFullItemName(item, prefix);
    bool ok = file && SaveItem(item, file, prefix.size(), format, 0);
    ok = file && (std::fclose(file) == 0) && ok;
    ok = ok && target.Write(content, length) && target.Commit();
    std::free(content);
    if (!ok) {
        Prompts().message(this, "Failed to write file \"" + path + "\".", "Error");
        return false;
    }
    LastSavedPath() = path;
    return true;
}

CVarTreeView::ReadResult CVarTreeView::ReadVar(FILE* file, long& remaining)
{
    std::string name, value;
    switch (ReadImportRecord(file, remaining, name, value)) {
    case ImportRead::End: return ReadResult::End;
    case ImportRead::Damaged: return ReadResult::Damaged;
    case ImportRead::Record: break;
    }
    const unsigned valueLength = unsigned(value.size());
    if (SetVar(SelectedGroup(), name, valueLength ? value.data() : nullptr, valueLength)) return ReadResult::Applied;
    const std::string question = "Variable \"" + name + "\" not found,\n continue anyway?";
    return Prompts().confirm(this, question, "Confirm") ? ReadResult::Applied : ReadResult::Cancelled;
}

void CVarTreeView::LoadFromFile(const std::string& path)
{
    CVarGroupItem* item = SelectedGroup();
    if (!item) return;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        Prompts().message(this, "Failed to open file.", "Error");
        return;
    }
    long remaining = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) remaining = std::ftell(file);
    std::rewind(file);
    if (remaining < 0) {
        std::fclose(file);
        Prompts().message(this, "Failed to open file.", "Error");
        return;
    }
    int record = 0;
    Batch batch(*this);
    for (;;) {
        ++record;
        const ReadResult result = ReadVar(file, remaining);
        if (result == ReadResult::Applied) continue;
        if (result == ReadResult::Damaged)
            Prompts().message(this,
                              "Record " + std::to_string(record) + " of file \"" + path +
                                  "\" is cut short or too long; loading stopped.",
                              "Error");
        break;
    }
    std::fclose(file);
    // Selecting the group again refills the list with the loaded values.
    setCurrentItem(nullptr);
    setCurrentItem(item);
}
