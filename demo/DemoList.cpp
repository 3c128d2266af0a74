#include "demo/DemoList.h"

#include <algorithm>
#include <cstring>

#include "platform/text/AsciiCase.h"

namespace {

template <class T>
std::vector<uint8_t> Bytes(const T& v)
{
    std::vector<uint8_t> out(sizeof(T));
    std::memcpy(out.data(), &v, sizeof(T));
    return out;
}

template <class P>
std::vector<uint8_t> Bytes(const std::vector<P>& points)
{
    std::vector<uint8_t> out(points.size() * sizeof(P));
    if (!out.empty()) std::memcpy(out.data(), points.data(), out.size());
    return out;
}

std::vector<uint8_t> TextBytes(const std::string& text)
{
    std::vector<uint8_t> out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

template <class T>
T Read(const std::vector<uint8_t>& bytes)
{
    T v{};
    if (bytes.size() >= sizeof(T)) std::memcpy(&v, bytes.data(), sizeof(T));
    return v;
}

// The fixed size of a kind's value, 0 for kinds of any length.
size_t FixedSize(int kind)
{
    switch (kind) {
    case VARKIND_INT:
    case VARKIND_ENUM:
    case VARKIND_FLOAT: return 4;
    case VARKIND_DOUBLE: return 8;
    case VARKIND_COLORRGB: return 3;
    default: return 0;
    }
}

}  // namespace

DemoList* DemoList::Create(const std::string& name) { return new DemoList(name); }

const char* DemoList::GetListName() { return name.c_str(); }

int32_t DemoList::Reset()
{
    cursor = 0;
    return 0;
}

int32_t DemoList::Next(GLOBAL_VARIABLE_INFO* info)
{
    ++nextCalls;
    if (!info || cursor >= vars.size()) return 0;
    Fill(vars[cursor++], info);
    return 1;
}

DemoList::Var& DemoList::Push(const std::string& path, const std::string& description, int kind)
{
    Var& v = vars.emplace_back();
    v.path = path;
    v.description = description;
    v.kind = kind;
    v.limits.type = kind;
    return v;
}

void DemoList::AddString(const std::string& path, const std::string& description, const std::string& value,
                         const std::string& defaultValue)
{
    Var& v = Push(path, description, VARKIND_STRING);
    v.text = value;
    v.defaultText = defaultValue;
    v.value = TextBytes(value);
    v.defaultValue = TextBytes(defaultValue);
}

void DemoList::AddInt(const std::string& path, const std::string& description, int32_t value, int32_t defaultValue,
                      int32_t minimum, int32_t maximum, int32_t step)
{
    Var& v = Push(path, description, VARKIND_INT);
    v.value = Bytes(value);
    v.defaultValue = Bytes(defaultValue);
    v.limits.i = {value, defaultValue, minimum, maximum, step, 0};
}

void DemoList::AddEnum(const std::string& path, const std::string& description, int32_t value, int32_t defaultValue,
                       const std::vector<std::string>& labels)
{
    Var& v = Push(path, description, VARKIND_ENUM);
    v.value = Bytes(value);
    v.defaultValue = Bytes(defaultValue);
    v.labels = labels;
}

void DemoList::AddDouble(const std::string& path, const std::string& description, double value, double defaultValue,
                         double minimum, double maximum, double step)
{
    Var& v = Push(path, description, VARKIND_DOUBLE);
    v.value = Bytes(value);
    v.defaultValue = Bytes(defaultValue);
    v.limits.d = {value, defaultValue, minimum, maximum, step, 0};
}

void DemoList::AddFloat(const std::string& path, const std::string& description, float value, float defaultValue,
                        float minimum, float maximum, float step)
{
    Var& v = Push(path, description, VARKIND_FLOAT);
    v.value = Bytes(value);
    v.defaultValue = Bytes(defaultValue);
    v.limits.f = {value, defaultValue, minimum, maximum, step, 0};
}

void DemoList::AddSpline(const std::string& path, const std::string& description,
                         const std::vector<SPLINE2D_POINT>& value, const std::vector<SPLINE2D_POINT>& defaultValue,
                         SPLINE2D_POINT lower, SPLINE2D_POINT upper)
{
    Var& v = Push(path, description, VARKIND_SPLINE2D);
    v.value = Bytes(value);
    v.defaultValue = Bytes(defaultValue);
    v.limits.spline.lower = lower;
    v.limits.spline.upper = upper;
}

void DemoList::AddColor(const std::string& path, const std::string& description, const uint8_t value[3],
                        const uint8_t defaultValue[3])
{
    Var& v = Push(path, description, VARKIND_COLORRGB);
    v.value.assign(value, value + 3);
    v.defaultValue.assign(defaultValue, defaultValue + 3);
}

void DemoList::AddProps(const std::string& path, const std::string& description, const GUID& clsid,
                        const std::string& itemName, const std::vector<uint8_t>& value)
{
    Var& v = Push(path, description, VARKIND_PROPS);
    v.value = value;
    v.limits.props.clsid = clsid;
    v.itemName = itemName;
}

void DemoList::AddColorSpline(const std::string& path, const std::string& description,
                              const std::vector<COLORRGBSPLINE_POINT>& value,
                              const std::vector<COLORRGBSPLINE_POINT>& defaultValue)
{
    Var& v = Push(path, description, VARKIND_COLORRGBSPLINE);
    v.value = Bytes(value);
    v.defaultValue = Bytes(defaultValue);
    v.limits.colorSpline.lower = COLORRGBSPLINE_POINT{0, 0, 0, 0};
    v.limits.colorSpline.upper = COLORRGBSPLINE_POINT{1, 1, 1, 1};
}

const DemoList::Var* DemoList::Find(const std::string& path) const
{
    for (const Var& v : vars)
        if (EqualNoCase(v.path, path.c_str())) return &v;
    return nullptr;
}

bool DemoList::Apply(const char* varName, const void* bytes, unsigned length)
{
    if (!varName) return false;
    auto it = std::find_if(vars.begin(), vars.end(), [&](const Var& v) { return EqualNoCase(v.path, varName); });
    if (it == vars.end()) return false;
    Var& v = *it;
    const uint8_t* b = static_cast<const uint8_t*>(bytes);
    if (const size_t fixed = FixedSize(v.kind)) {
        // Values shorter than the kind's size are ignored.
        if (!b || length < fixed) return true;
        v.value.assign(b, b + fixed);
    } else if (v.kind == VARKIND_STRING) {
        const size_t n = b ? std::find(b, b + length, 0) - b : 0;
        v.text.assign(reinterpret_cast<const char*>(b), n);
        v.value = TextBytes(v.text);
    } else if (v.kind == VARKIND_SPLINE2D || v.kind == VARKIND_COLORRGBSPLINE) {
        v.value.assign(b, b + (b ? length / 32 * 32 : 0));
    } else {
        v.value.assign(b, b + (b ? length : 0));
    }
    return true;
}

std::vector<uint8_t> DemoList::ValueBytes(const std::string& path) const
{
    const Var* v = Find(path);
    return v ? v->value : std::vector<uint8_t>();
}

int DemoList::Kind(const std::string& path) const
{
    const Var* v = Find(path);
    return v ? v->kind : -1;
}

void DemoList::Fill(const Var& v, GLOBAL_VARIABLE_INFO* info) const
{
    *info = v.limits;
    info->name = v.path.c_str();
    info->description = v.description.c_str();
    info->type = v.kind;
    info->modified = v.value != v.defaultValue;
    switch (v.kind) {
    case VARKIND_STRING:
        info->str.value = v.text.c_str();
        info->str.defaultValue = v.defaultText.c_str();
        break;
    case VARKIND_INT:
        info->i.value = Read<int32_t>(v.value);
        break;
    case VARKIND_ENUM:
        v.labelPointers.clear();
        for (const std::string& label : v.labels) v.labelPointers.push_back(label.c_str());
        info->e.value = Read<int32_t>(v.value);
        info->e.defaultValue = Read<int32_t>(v.defaultValue);
        info->e.count = uint32_t(v.labels.size());
        info->e.labels = v.labelPointers.data();
        break;
    case VARKIND_DOUBLE: info->d.value = Read<double>(v.value); break;
    case VARKIND_FLOAT: info->f.value = Read<float>(v.value); break;
    case VARKIND_COLORRGB:
        std::memcpy(info->rgb.value, v.value.data(), 3);
        std::memcpy(info->rgb.defaultValue, v.defaultValue.data(), 3);
        break;
    case VARKIND_SPLINE2D:
        info->spline.count = int32_t(v.value.size() / 32);
        info->spline.points = reinterpret_cast<const SPLINE2D_POINT*>(v.value.data());
        info->spline.defaultCount = int32_t(v.defaultValue.size() / 32);
        info->spline.defaultPoints = reinterpret_cast<const SPLINE2D_POINT*>(v.defaultValue.data());
        break;
    case VARKIND_COLORRGBSPLINE:
        info->colorSpline.count = int32_t(v.value.size() / 32);
        info->colorSpline.points = reinterpret_cast<const COLORRGBSPLINE_POINT*>(v.value.data());
        info->colorSpline.defaultCount = int32_t(v.defaultValue.size() / 32);
        info->colorSpline.defaultPoints = reinterpret_cast<const COLORRGBSPLINE_POINT*>(v.defaultValue.data());
        break;
    case VARKIND_PROPS:
        info->props.itemName = v.itemName.c_str();
        info->props.bytes = v.value.empty() ? nullptr : v.value.data();
        info->props.length = uint32_t(v.value.size());
        info->modified = !v.value.empty();
        break;
    default: break;
    }
}
