// A client's variable list as a program keeps it: each variable with its
// current value, default and limits, enumerable through IVariableList and
// changed by name through the component's callback.  The demo client uses
// two of these; tests and benchmarks build their lists with it too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/ComObject.h"
#include "storage/api/VariableStorage.h"

class DemoList final : public ComObject<IVariableList> {
public:
    // Created with one reference for the caller.
    static DemoList* Create(const std::string& name);

    // IVariableList
    STDMETHOD_(const char*, GetListName)() override;
    STDMETHOD_(int32_t, Reset)() override;
    STDMETHOD_(int32_t, Next)(GLOBAL_VARIABLE_INFO* info) override;

    // Builders: path, description, then value, default and limits.
    void AddString(const std::string& path, const std::string& description, const std::string& value,
                   const std::string& defaultValue);
    void AddInt(const std::string& path, const std::string& description, int32_t value, int32_t defaultValue,
                int32_t minimum, int32_t maximum, int32_t step = 1);
    void AddEnum(const std::string& path, const std::string& description, int32_t value, int32_t defaultValue,
                 const std::vector<std::string>& labels);
    void AddDouble(const std::string& path, const std::string& description, double value, double defaultValue,
                   double minimum, double maximum, double step);
    void AddFloat(const std::string& path, const std::string& description, float value, float defaultValue,
                  float minimum, float maximum, float step);
    void AddSpline(const std::string& path, const std::string& description, const std::vector<SPLINE2D_POINT>& value,
                   const std::vector<SPLINE2D_POINT>& defaultValue, SPLINE2D_POINT lower, SPLINE2D_POINT upper);
    void AddColor(const std::string& path, const std::string& description, const uint8_t value[3],
                  const uint8_t defaultValue[3]);
    void AddProps(const std::string& path, const std::string& description, const GUID& clsid,
                  const std::string& itemName, const std::vector<uint8_t>& value);
    void AddColorSpline(const std::string& path, const std::string& description,
                        const std::vector<COLORRGBSPLINE_POINT>& value,
                        const std::vector<COLORRGBSPLINE_POINT>& defaultValue);

    // Stores value bytes for a variable named case-insensitively, as a
    // client's callback does; false when the list has no such name.
    bool Apply(const char* name, const void* bytes, unsigned length);

    size_t Count() const { return vars.size(); }
    // The value bytes of a variable in its kind's layout (empty if unknown).
    std::vector<uint8_t> ValueBytes(const std::string& path) const;
    // The kind number of a variable, -1 when the list has no such name.
    int Kind(const std::string& path) const;
    // How often Next was called (tests of lazy loading).
    int NextCalls() const { return nextCalls; }

private:
    explicit DemoList(std::string name) : name(std::move(name)) {}
    struct Var;
    Var& Push(const std::string& path, const std::string& description, int kind);
    const Var* Find(const std::string& path) const;
    void Fill(const Var& var, GLOBAL_VARIABLE_INFO* info) const;

    struct Var {
        std::string path, description;
        int kind = 0;
        std::vector<uint8_t> value, defaultValue;  // in the kind's value layout
        // Kind data that is not a value: limits and labels.
        GLOBAL_VARIABLE_INFO limits{};
        std::string text, defaultText;
        std::vector<std::string> labels;
        mutable std::vector<const char*> labelPointers;
        std::string itemName;
    };

    std::string name;
    std::vector<Var> vars;
    size_t cursor = 0;
    int nextCalls = 0;
};
