#include "storage/DataFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/bytes/LittleEndian32.h"
#include "platform/com/Com.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/ReadRegularFile.h"
#include "storage/CreateVariableList.h"

namespace {

constexpr const char* kUseList = "uselist.txt";
// Longest piece of a "uselist.txt" line taken at once.
constexpr size_t kLinePiece = 1023;
// Data files are sized with 32 bits.
constexpr uint64_t kMaxDataFile = 0xFFFFFFFFu;
// A data file keeps its identity: one that is a symbolic link is written
// through to the link's target, so that the link stays one.
const AtomicWriteOptions kDataFileWrite{.followLink = true, .mode = std::nullopt, .hiddenTemporary = false};

std::string Quoted(const char* what, const std::string& name) { return std::string(what) + "\"" + name + "\"\n"; }

bool IsDirectory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Through links; stat does not open, so a FIFO cannot hold it.
bool IsRegularFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> SortedEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

struct DataFileName {
    std::string name;
    GUID listId;
};

// The entries of the folder whose names stand for a list, in name order.  A
// list may go by several: its own name, and others that map to it as well
// (its class id in other letter case, its ProgID in other letter case, its
// braced class id when it has a ProgID).
std::vector<DataFileName> DataFileNames(const std::string& folder)
{
    std::vector<DataFileName> found;
    for (std::string& name : SortedEntries(folder)) {
        GUID listId;
        if (name != "." && name != ".." && CDataFolder::ListIdOf(name, &listId))
            found.push_back({std::move(name), listId});
    }
    return found;
}

// Removes the other names of a list once its own data file is written or
// deleted: left behind, they would be read in its place at the next load.
// Only files and links are removed, what a load could read through them,
// and never the file that the list's own name links to.
bool RemoveOtherNames(const std::string& folder, const GUID& listId, const std::string& ownName,
                      std::string& messages)
{
    struct stat own;
    const bool ownExists = ::stat((folder + "/" + ownName).c_str(), &own) == 0;
    bool ok = true;
    for (const DataFileName& other : DataFileNames(folder)) {
        if (other.name == ownName || !IsEqualGUID(other.listId, listId)) continue;
        const std::string path = folder + "/" + other.name;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) continue;
        if (S_ISREG(st.st_mode) && ownExists && st.st_dev == own.st_dev && st.st_ino == own.st_ino) continue;
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            if (ok) messages += Quoted("Failed to delete data file for ", other.name);
            ok = false;
        }
    }
    return ok;
}

// Deletes a list's data file when nothing is modified.  A data file that is
// a link stays one: its target is emptied instead (no records, the same as
// no file to a load), so that the next save writes through it again.  A link
// that leads nowhere holds nothing to delete.
bool DeleteDataFile(const std::string& folder, const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (::stat(path.c_str(), &st) != 0) return true;
        AtomicFile empty;
        return empty.Open(path, kDataFileWrite) && empty.Commit();
    }
    // A missing folder is a failure, a missing file is not.
    return ::unlink(path.c_str()) == 0 || (errno == ENOENT && IsDirectory(folder));
}

// Writes one list's data file; false with a message when the list failed.
bool SaveList(const std::string& folder, const GUID& listId, IVariableListPtr list, std::string& messages)
{
    const std::string name = CDataFolder::FileNameOf(listId);
    const std::string path = folder + "/" + name;
    AtomicFile::RemoveLeftovers(path, kDataFileWrite);
    if (!list) list = CreateVariableList(listId);
    if (!list) {
        messages += Quoted("Failed to create ", name);
        return false;
    }

    AtomicFile file;
    bool wroteRecord = false;
    list->Reset();
    GLOBAL_VARIABLE_INFO info;
    std::memset(&info, 0, sizeof info);
    while (list->Next(&info)) {
        if (!info.modified) continue;
        const void* bytes = nullptr;
        uint32_t length = 0;
        CDataFolder::ValueBytesOf(info, &bytes, &length);
        if (!file.IsOpen() && !file.Open(path, kDataFileWrite)) {
            messages += Quoted("Failed to open data file for ", name);
            return false;
        }
        const char* varName = info.name ? info.name : "";
        const auto lengthBytes = Le32Bytes(length);
        file.Write(varName, std::strlen(varName) + 1);
        file.Write(lengthBytes.data(), lengthBytes.size());
        if (length) file.Write(bytes, length);
        wroteRecord = true;
    }

    if (wroteRecord && !file.Commit()) {
        messages += Quoted("Failed to write data file for ", name);
        return false;
    }
    if (!wroteRecord && !DeleteDataFile(folder, path)) {
        messages += Quoted("Failed to delete data file for ", name);
        return false;
    }
    return RemoveOtherNames(folder, listId, name, messages);
}

void ReadUseList(const std::string& folder, CDataFolder::ListsInUse& lists)
{
    std::vector<uint8_t> content;
    if (!ReadRegularFile(folder + "/" + kUseList, kMaxDataFile, content).empty()) return;
    size_t at = 0;
    while (at < content.size()) {
        const auto* begin = content.data() + at;
        const auto* feed = static_cast<const uint8_t*>(std::memchr(begin, '\n', content.size() - at));
        size_t lineLength = feed ? static_cast<size_t>(feed - begin) : content.size() - at;
        at += lineLength + (feed ? 1 : 0);
        // Text-mode reading drops the carriage return before the line feed.
        if (feed && lineLength > 0 && begin[lineLength - 1] == '\r') --lineLength;
        // A longer line is read as several pieces, each taken as a line.
        for (size_t piece = 0; piece < lineLength; piece += kLinePiece) {
            const std::string line(reinterpret_cast<const char*>(begin + piece),
                                   std::min(kLinePiece, lineLength - piece));
            CLSID id;
            if (SUCCEEDED(CLSIDFromProgID(Utf8ToWide(line).c_str(), &id))) lists.try_emplace(id, nullptr);
        }
    }
}

}  // namespace

std::string CDataFolder::FileNameOf(const GUID& listId)
{
    LPOLESTR text = nullptr;
    std::string name;
    if (SUCCEEDED(ProgIDFromCLSID(listId, &text)) && text) name = WideToUtf8(text);
    CoTaskMemFree(text);
    // A ProgID that would name another folder or this one is not a file name.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        name = GuidToString(listId);
    return name;
}

bool CDataFolder::ListIdOf(const std::string& fileName, GUID* listId)
{
    const std::wstring wide = Utf8ToWide(fileName);
    if (SUCCEEDED(CLSIDFromProgID(wide.c_str(), listId))) return true;
    return SUCCEEDED(CLSIDFromString(wide.c_str(), listId));
}

void CDataFolder::ValueBytesOf(const GLOBAL_VARIABLE_INFO& info, const void** bytes, uint32_t* length)
{
    *bytes = nullptr;
    *length = 0;
    switch (info.type) {
    case VARKIND_STRING: {
        const char* text = info.str.value ? info.str.value : "";
        *bytes = text;
        *length = static_cast<uint32_t>(std::strlen(text) + 1);
        break;
    }
    case VARKIND_INT:
    case VARKIND_ENUM:
    case VARKIND_FLOAT:
        *bytes = &info.i.value;
        *length = 4;
        break;
    case VARKIND_DOUBLE:
        *bytes = &info.d.value;
        *length = 8;
        break;
    case VARKIND_COLORRGB:
        *bytes = info.rgb.value;
        *length = 3;
        break;
    case VARKIND_SPLINE2D:
    case VARKIND_COLORRGBSPLINE: {
        const int32_t count = info.type == VARKIND_SPLINE2D ? info.spline.count : info.colorSpline.count;
        const void* points = info.type == VARKIND_SPLINE2D ? static_cast<const void*>(info.spline.points)
                                                           : static_cast<const void*>(info.colorSpline.points);
        if (points && count > 0 && static_cast<uint64_t>(count) * 32 <= kMaxDataFile) {
            *bytes = points;
            *length = static_cast<uint32_t>(count) * 32;
        }
        break;
    }
    case VARKIND_PROPS:
        if (info.props.bytes) {
            *bytes = info.props.bytes;
            *length = info.props.length;
        }
        break;
    default:
        break;
    }
}

bool CDataFolder::Save(const std::string& folder, const ListsInUse& lists, std::string& messages)
{
    bool ok = true;
    for (const auto& [listId, list] : lists)
        if (!SaveList(folder, listId, list, messages)) ok = false;
    return ok;
}

void CDataFolder::Load(const std::string& folder, Stores& stores, ListsInUse& lists)
{
    for (auto& [id, store] : stores) store.Clear();

    // One data file per list: its own name when that is a file, else the
    // first other name of it that is.  Files are read in name order.
    const std::vector<DataFileName> names = DataFileNames(folder);
    std::map<GUID, std::string, CompareGUID> chosen;
    for (const DataFileName& entry : names) {
        if (!IsRegularFile(folder + "/" + entry.name)) continue;
        const auto [it, first] = chosen.try_emplace(entry.listId, entry.name);
        if (!first && entry.name == FileNameOf(entry.listId)) it->second = entry.name;
    }
    std::vector<uint8_t> content;
    for (const DataFileName& entry : names) {
        const auto it = chosen.find(entry.listId);
        if (it == chosen.end() || it->second != entry.name) continue;
        if (!ReadRegularFile(folder + "/" + entry.name, kMaxDataFile, content).empty()) continue;
        stores[entry.listId].Load(content.data(), content.size());
    }

    lists.clear();
    ReadUseList(folder, lists);
}
