// A client's variable list for the tests: records built from plain values,
// with the modified flag each variable reports.
#pragma once

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/ComInterfaces.h"
#include "storage/api/VariableStorage.h"

class TestList : public ComInterfaces<IVariableList> {
public:
    struct Entry {
        std::string name;
        int32_t type;
        int32_t modified;
        std::vector<uint8_t> value;  // the kind's value bytes
        std::string text;            // kind 0
    };

    explicit TestList(std::string listName = "test") : listName(std::move(listName)) {}
    virtual ~TestList() = default;

    void AddInt(const std::string& name, int32_t value, bool modified = true)
    {
        entries.push_back({name, VARKIND_INT, modified, Bytes(&value, 4), {}});
    }
    void AddDouble(const std::string& name, double value, bool modified = true)
    {
        entries.push_back({name, VARKIND_DOUBLE, modified, Bytes(&value, 8), {}});
    }
    void AddString(const std::string& name, const std::string& text, bool modified = true)
    {
        entries.push_back({name, VARKIND_STRING, modified, {}, text});
    }
    void AddRaw(const std::string& name, int32_t type, std::vector<uint8_t> value, bool modified = true)
    {
        entries.push_back({name, type, modified, std::move(value), {}});
    }

    std::vector<Entry> entries;
    std::atomic<ULONG> refs{0};
    int resets = 0;

    // Owned by the test; the count only shows who holds it.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    const char* STDMETHODCALLTYPE GetListName() override { return listName.c_str(); }
    int32_t STDMETHODCALLTYPE Reset() override
    {
        ++resets;
        cursor = 0;
        return 1;
    }
    int32_t STDMETHODCALLTYPE Next(GLOBAL_VARIABLE_INFO* info) override
    {
        if (cursor >= entries.size()) return 0;
        const Entry& e = entries[cursor++];
        std::memset(info, 0, sizeof *info);
        info->name = e.name.c_str();
        info->type = e.type;
        info->modified = e.modified;
        info->description = "";
        switch (e.type) {
        case VARKIND_STRING: info->str.value = e.text.c_str(); info->str.defaultValue = ""; break;
        case VARKIND_SPLINE2D:
            info->spline.count = static_cast<int32_t>(e.value.size() / 32);
            info->spline.points = reinterpret_cast<const SPLINE2D_POINT*>(e.value.data());
            break;
        case VARKIND_COLORRGBSPLINE:
            info->colorSpline.count = static_cast<int32_t>(e.value.size() / 32);
            info->colorSpline.points = reinterpret_cast<const COLORRGBSPLINE_POINT*>(e.value.data());
            break;
        case VARKIND_PROPS:
            info->props.bytes = e.value.data();
            info->props.length = static_cast<uint32_t>(e.value.size());
            break;
        default:
            std::memcpy(&info->i, e.value.data(), std::min<size_t>(e.value.size(), 16));
            break;
        }
        return 1;
    }

private:
    static std::vector<uint8_t> Bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        return std::vector<uint8_t>(b, b + n);
    }

    std::string listName;
    size_t cursor = 0;
};
