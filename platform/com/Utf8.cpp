#include "platform/com/Utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

void Append(std::string& out, char32_t c)
{
    if (!IsScalar(c)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string WideToUtf8(std::wstring_view text)
{
    static_assert(sizeof(wchar_t) == 4, "wide strings hold code points");
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) Append(out, static_cast<char32_t>(c));
    return out;
}

std::wstring Utf8ToWide(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80) { c = lead; }
        else if (lead >= 0xC2 && lead <= 0xDF) { extra = 1; c = lead & 0x1F; least = 0x80; }
        else if (lead >= 0xE0 && lead <= 0xEF) { extra = 2; c = lead & 0x0F; least = 0x800; }
        else if (lead >= 0xF0 && lead <= 0xF4) { extra = 3; c = lead & 0x07; least = 0x10000; }
        else {
            // A stray continuation byte or an impossible lead byte.
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) break;
            c = (c << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        }
        if (j - i != static_cast<std::size_t>(extra) + 1 || c < least || !IsScalar(c)) {
            // Truncated, overlong or a surrogate: one replacement, and go on
            // after the bytes that belonged to it.
            out += static_cast<wchar_t>(kReplacement);
            i = j > i + 1 ? j : i + 1;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i = j;
    }
    return out;
}

std::string WideToUtf8(const wchar_t* text) { return text ? WideToUtf8(std::wstring_view(text)) : std::string(); }

std::wstring Utf8ToWide(const char* text) { return text ? Utf8ToWide(std::string_view(text)) : std::wstring(); }
