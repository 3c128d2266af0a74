#include "samples/attributes/DataStream.h"

#include <algorithm>
#include <cstring>

#include "platform/com/Com.h"
#include "samples/attributes/AttributeSet.h"
#include "samples/attributes/ItemStore.h"

int32_t CDataStream::Read(void* buffer, uint32_t size, uint32_t* read)
{
    const std::vector<uint8_t> bytes = EncodeAttributes(ItemProperties(item));
    const size_t count = readAt < bytes.size() ? std::min<size_t>(size, bytes.size() - readAt) : 0;
    if (count && buffer)
        std::memcpy(buffer, bytes.data() + readAt, count);
    readAt += count;
    if (read)
        *read = static_cast<uint32_t>(count);
    return 1;
}

int32_t CDataStream::Write(const void* buffer, uint32_t size, uint32_t* wrote)
{
    if (!buffer && size)
        return 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    written.insert(written.end(), bytes, bytes + size);
    if (auto attributes = DecodeAttributes(written.data(), written.size())) {
        ItemProperties(item) = std::move(*attributes);
        written.clear();
    }
    if (wrote)
        *wrote = size;
    return 1;
}

int32_t CDataStream::GetDataObject(IUnknown** dataObject)
{
    if (!dataObject)
        return 0;
    *dataObject = static_cast<IAttributes*>(new CAttributeSet(ItemProperties(item)));
    return 1;
}

int32_t CDataStream::GetPropsClass(BSTR* name)
{
    if (!name)
        return 0;
    *name = SysAllocStringUtf8(kSampleStreamPropsProgId);
    return *name ? 1 : 0;
}

int32_t CDataStream::GetCount() { return static_cast<int32_t>(ItemProperties(item).size()); }

int32_t CDataStream::GetName(int32_t index, BSTR* name)
{
    const AttributeList& properties = ItemProperties(item);
    if (!name || index < 0 || size_t(index) >= properties.size())
        return 0;
    *name = SysAllocStringUtf8(properties[size_t(index)].first);
    return *name ? 1 : 0;
}

int32_t CDataStream::GetValue(int32_t index, BSTR* value)
{
    const AttributeList& properties = ItemProperties(item);
    if (!value || index < 0 || size_t(index) >= properties.size())
        return 0;
    *value = SysAllocStringUtf8(properties[size_t(index)].second);
    return *value ? 1 : 0;
}

int32_t CDataStream::SetValue(const wchar_t* name, const wchar_t* value)
{
    if (!name || !*name)
        return 0;
    SetItemProperty(item, WideToUtf8(name), value ? WideToUtf8(value) : std::string());
    return 1;
}
