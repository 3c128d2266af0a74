// The value-store path driven by arbitrary input: a little program of
// SetData, attach, detach and load steps on the component object, and
// variable objects built from arbitrary records and fed arbitrary values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "component/VariableStorageFactory.h"
#include "storage/api/VariableStorage.h"
#include "storage/VarFactory.h"
#include "storage/VariableList.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    // Up to n bytes, as a fresh heap block of exactly that size.
    std::vector<uint8_t> Bytes(size_t n)
    {
        n = std::min(n, size - at);
        std::vector<uint8_t> out(data + at, data + at + n);
        at += n;
        return out;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

int32_t Touch(const char* name, const void* bytes, unsigned length, void* context)
{
    auto* sum = static_cast<unsigned*>(context);
    *sum += static_cast<unsigned>(std::strlen(name));
    const auto* b = static_cast<const uint8_t*>(bytes);
    for (unsigned i = 0; i < length; ++i) *sum += b[i];
    return 0;
}

class Listener : public CVar::Event {
public:
    void OnVarChanged(const GUID&, const char* name, const void* bytes, unsigned length) override
    {
        Touch(name, bytes, length, &sum);
    }
    unsigned sum = 0;
};

// A record of the kind chosen by the input, with points and labels that
// are really there, and then arbitrary value blocks through SetValue.
void ExerciseKind(Input& in)
{
    GLOBAL_VARIABLE_INFO info;
    std::memset(&info, 0, sizeof info);
    const auto raw = in.Bytes(sizeof info);
    if (!raw.empty()) std::memcpy(&info, raw.data(), raw.size());
    info.type = in.Byte() % 10;
    info.name = "fuzz|var";
    info.description = nullptr;
    std::vector<SPLINE2D_POINT> points(in.Byte() % 4);
    const char* labels[] = {"a", "b", "c"};
    switch (info.type) {
    case VARKIND_STRING: info.str.value = "v"; info.str.defaultValue = nullptr; break;
    case VARKIND_ENUM: info.e.count %= 4; info.e.labels = info.e.count <= 3 ? labels : nullptr; break;
    case VARKIND_SPLINE2D:
    case VARKIND_COLORRGBSPLINE:
        info.spline.count = static_cast<int32_t>(points.size());
        info.spline.points = points.data();
        info.spline.defaultCount = info.spline.count;
        info.spline.defaultPoints = points.data();
        if (info.type == VARKIND_COLORRGBSPLINE) {
            info.colorSpline.points = reinterpret_cast<const COLORRGBSPLINE_POINT*>(points.data());
            info.colorSpline.defaultPoints = info.colorSpline.points;
        }
        break;
    case VARKIND_PROPS: info.props.itemName = "item"; info.props.bytes = nullptr; break;
    default: break;
    }
    auto var = CreateVar(info);
    if (!var) return;
    Listener listener;
    var->Init(GUID_NULL, &listener);
    while (!in.Empty()) {
        const uint8_t op = in.Byte();
        if (op < 0x20) {
            var->SetDefault();
        } else {
            const auto block = in.Bytes(op & 0x3F);
            var->SetValue(block.empty() ? nullptr : block.data(), static_cast<unsigned>(block.size()));
        }
        listener.sum += static_cast<unsigned>(std::strlen(var->AsString()));
        listener.sum += var->IsDefault() ? 1u : 0u;
        void* bytes = nullptr;
        unsigned length = 0;
        var->GetValue(&bytes, &length);
        Touch("", bytes, length, &listener.sum);
        std::free(bytes);
        var->GetDefaultValue(&bytes, &length);
        Touch("", bytes, length, &listener.sum);
        std::free(bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    if (in.Byte() & 1) {
        ExerciseKind(in);
        return 0;
    }

    IVariableStorage* storage = nullptr;
    if (CreateVariableStorage(IID_IVariableStorage, reinterpret_cast<void**>(&storage)) != S_OK) std::abort();
    IVariableStorageAttach* attach = nullptr;
    storage->QueryInterface(IID_IVariableStorageAttach, reinterpret_cast<void**>(&attach));
    unsigned sum = 0;
    while (!in.Empty()) {
        GUID list = GUID_NULL;
        list.Data1 = in.Byte() % 3;
        const uint8_t op = in.Byte();
        switch (op % 4) {
        case 0: {
            const auto name = in.Bytes(in.Byte() % 16);
            const std::string text(name.begin(), name.end());  // stops at an embedded zero when used
            const auto value = in.Bytes(in.Byte());
            storage->SetData(&list, text.c_str(), value.empty() ? nullptr : value.data(),
                             static_cast<unsigned>(value.size()));
            break;
        }
        case 1: attach->AttachVariableList(&list, &Touch, &sum); break;
        case 2: attach->DetachVariableList(&list); break;
        case 3: {
            // A data-file image straight into that list's store.
            CVariableList scratch;
            const auto image = in.Bytes(in.Byte() * 4u);
            scratch.Load(image.data(), image.size());
            for (const auto& [name, value] : scratch.GetValues())
                storage->SetData(&list, name.c_str(), value.data(), static_cast<unsigned>(value.size()));
            break;
        }
        }
    }
    attach->Release();
    storage->Release();
    return 0;
}
