#include "samples/attributes/AttributeData.h"

#include "platform/bytes/LittleEndian32.h"

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    const auto bytes = Le32Bytes(v);
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutText(std::vector<uint8_t>& out, const std::string& text)
{
    PutU32(out, static_cast<uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

struct Reader {
    const uint8_t* at;
    size_t left;

    bool U32(uint32_t& v)
    {
        if (left < 4)
            return false;
        v = ReadLe32(at);
        at += 4;
        left -= 4;
        return true;
    }
    bool Text(std::string& text)
    {
        uint32_t size = 0;
        if (!U32(size) || size > left)
            return false;
        text.assign(reinterpret_cast<const char*>(at), size);
        at += size;
        left -= size;
        return true;
    }
};

}  // namespace

std::vector<uint8_t> EncodeAttributes(const AttributeList& attributes)
{
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(attributes.size()));
    for (const auto& [name, value] : attributes) {
        PutText(out, name);
        PutText(out, value);
    }
    return out;
}

std::optional<AttributeList> DecodeAttributes(const uint8_t* bytes, size_t length)
{
    if (!bytes && length)
        return std::nullopt;
    Reader reader{bytes, length};
    uint32_t count = 0;
    if (!reader.U32(count))
        return std::nullopt;
    AttributeList attributes;
    // Each attribute takes at least 8 bytes: a count beyond that is a lie.
    if (count > reader.left / 8)
        return std::nullopt;
    for (uint32_t i = 0; i < count; ++i) {
        std::string name, value;
        if (!reader.Text(name) || !reader.Text(value))
            return std::nullopt;
        attributes.emplace_back(std::move(name), std::move(value));
    }
    if (reader.left != 0)
        return std::nullopt;
    return attributes;
}
