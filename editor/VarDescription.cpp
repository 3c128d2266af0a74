#include "editor/VarDescription.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "storage/EnumVar.h"
#include "storage/NumberVar.h"
#include "storage/Spline2DVar.h"

namespace {

std::string Format(const char* pattern, double a, double b)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// "lo to hi", then ", step s" when the client gave a usable step.
std::string Limits(double lo, double hi, double step, const char* pattern)
{
    std::string text = Format(pattern, lo, hi);
    if (step > 0) text += Format(", step %g", step, 0);
    return text;
}

// The limits and step of a kind that has them, an enumeration's labels;
// empty for the others.
std::string RangeText(const CVar& var)
{
    switch (var.GetType()) {
    case VARKIND_INT:
    case VARKIND_DOUBLE:
    case VARKIND_FLOAT:
        if (auto* v = dynamic_cast<const CNumberVar*>(&var))
            return Limits(v->MinNumber(), v->MaxNumber(), v->StepNumber(),
                          var.GetType() == VARKIND_INT ? "%.0f to %.0f" : "%g to %g");
        break;
    case VARKIND_ENUM:
        if (auto* v = dynamic_cast<const CEnumVar*>(&var)) {
            std::string labels;
            for (int i = 0; i < v->GetCount(); ++i) {
                const char* label = v->GetLabel(i);
                labels += (i ? ", " : "") + std::string(label ? label : "");
            }
            return labels;
        }
        break;
    case VARKIND_SPLINE2D:
        if (auto* v = dynamic_cast<const CSpline2DVar*>(&var))
            return Format("x %g to %g", v->GetMinX(), v->GetMaxX()) + Format(", y %g to %g", v->GetMinY(), v->GetMaxY());
        break;
    default: break;
    }
    return std::string();
}

}  // namespace

bool DefaultText(const CVar& var, std::string& out)
{
    void* bytes = nullptr;
    unsigned length = 0;
    var.GetDefaultValue(&bytes, &length);
    const auto* b = static_cast<const unsigned char*>(bytes);
    char text[512];
    bool hasText = true;
    switch (var.GetType()) {
    case VARKIND_INT: {
        int32_t v = 0;
        if (length >= 4) std::memcpy(&v, b, 4);
        std::snprintf(text, sizeof text, "%d", v);
        break;
    }
    case VARKIND_DOUBLE: {
        double v = 0;
        if (length >= 8) std::memcpy(&v, b, 8);
        std::snprintf(text, sizeof text, "%f", v);
        break;
    }
    case VARKIND_FLOAT: {
        float v = 0;
        if (length >= 4) std::memcpy(&v, b, 4);
        std::snprintf(text, sizeof text, "%f", double(v));
        break;
    }
    case VARKIND_COLORRGB:
        std::snprintf(text, sizeof text, "%d-%d-%d", length > 0 ? b[0] : 0, length > 1 ? b[1] : 0,
                      length > 2 ? b[2] : 0);
        break;
    case VARKIND_PROPS:
        text[0] = 0;
        hasText = false;
        break;
    default: {
        // The default's bytes as text, up to a zero or the end of the block.
        const unsigned n = b ? unsigned(std::find(b, b + length, 0) - b) : 0;
        std::snprintf(text, sizeof text, "%.*s", int(n), reinterpret_cast<const char*>(b ? b : (const unsigned char*)""));
        break;
    }
    }
    std::free(bytes);
    out = text;
    return hasText;
}

std::string RowToolTip(const CVar& var)
{
    std::string html = "<b>" + Escaped(var.GetName()) + "</b>";
    if (*var.GetDescription()) html += "<br>" + Escaped(var.GetDescription());
    const std::string range = RangeText(var);
    if (!range.empty()) html += (var.GetType() == VARKIND_ENUM ? "<br>One of: " : "<br>Range: ") + Escaped(range);
    std::string defaultText;
    const int kind = var.GetType();
    if (kind == VARKIND_SPLINE2D || kind == VARKIND_COLORRGBSPLINE) {
        void* bytes = nullptr;
        unsigned length = 0;
        var.GetDefaultValue(&bytes, &length);
        std::free(bytes);
        html += "<br>Default: " + std::to_string(length / 32) + " points";
    } else if (DefaultText(var, defaultText)) {
        html += "<br>Default: " + Escaped(defaultText);
    }
    return html;
}
