#include "app/ParameterAssignment.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "app/FindGlobalVariable.h"
#include "app/GlobalEnumVariable.h"
#include "app/GlobalFloatVariable.h"
#include "app/GlobalIntVariable.h"
#include "platform/text/AsciiCase.h"

namespace {
template <typename T>
T ReadValue(const void* bytes)
{
    T v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

template <typename T>
void WriteValue(unsigned char* bytes, T v)
{
    std::memcpy(bytes, &v, sizeof v);
}

std::string FloatText(float v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

template <typename T>
bool ParseWhole(const std::string& text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Every parameter name, for the message about an unknown one.
std::string KnownNames()
{
    std::string names;
    for (const GlobalVariable* v = globalVariableChain; v; v = v->GetNext())
        names = std::string(v->GetVariableName()) + (names.empty() ? "" : ", ") + names;
    return names;
}
}  // namespace

bool InDeclaredRange(const GlobalVariable& variable, const void* bytes)
{
    if (const auto* i = dynamic_cast<const GlobalIntVariable*>(&variable)) {
        const int32_t v = ReadValue<int32_t>(bytes);
        return v >= i->Minimum() && v <= i->Maximum();
    }
    if (const auto* f = dynamic_cast<const GlobalFloatVariable*>(&variable)) {
        const float v = ReadValue<float>(bytes);
        return v >= f->Minimum() && v <= f->Maximum();
    }
    if (const auto* e = dynamic_cast<const GlobalEnumVariable*>(&variable)) {
        const int32_t v = ReadValue<int32_t>(bytes);
        return v >= 0 && static_cast<uint32_t>(v) < e->LabelCount();
    }
    return false;
}

std::string DeclaredRange(const GlobalVariable& variable)
{
    if (const auto* i = dynamic_cast<const GlobalIntVariable*>(&variable))
        return std::to_string(i->Minimum()) + " to " + std::to_string(i->Maximum());
    if (const auto* f = dynamic_cast<const GlobalFloatVariable*>(&variable))
        return FloatText(f->Minimum()) + " to " + FloatText(f->Maximum());
    if (const auto* e = dynamic_cast<const GlobalEnumVariable*>(&variable)) {
        std::string labels;
        for (uint32_t k = 0; k < e->LabelCount(); ++k)
            labels += (k == 0 ? "" : k + 1 == e->LabelCount() ? " or " : ", ") + std::string(e->Label(k));
        return labels;
    }
    return {};
}

std::string DefaultText(const GlobalVariable& variable)
{
    if (const auto* i = dynamic_cast<const GlobalIntVariable*>(&variable))
        return std::to_string(i->Default());
    if (const auto* f = dynamic_cast<const GlobalFloatVariable*>(&variable))
        return FloatText(f->Default());
    if (const auto* e = dynamic_cast<const GlobalEnumVariable*>(&variable))
        return static_cast<uint32_t>(e->Default()) < e->LabelCount() ? e->Label(static_cast<uint32_t>(e->Default()))
                                                                       : std::string();
    return {};
}

bool ParseParameterAssignment(std::string_view text, ParameterAssignment& out, std::string* error)
{
    auto fail = [error](std::string why) {
        if (error)
            *error = std::move(why);
        return false;
    };
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return fail("--set takes NAME=VALUE, not \"" + std::string(text) + "\"");
    const std::string name = Trimmed(text.substr(0, equals));
    const std::string value = Trimmed(text.substr(equals + 1));
    GlobalVariable* variable = FindGlobalVariable(name.c_str());
    if (!variable)
        return fail("unknown parameter \"" + name + "\" (the parameters are " + KnownNames() + ")");
    const std::string who = variable->GetVariableName();

    ParameterAssignment parsed;
    parsed.variable = variable;
    if (dynamic_cast<GlobalIntVariable*>(variable)) {
        int64_t v = 0;
        if (!ParseWhole(value, v))
            return fail(who + " takes a whole number, not \"" + value + "\"");
        if (v < INT32_MIN || v > INT32_MAX)
            return fail(who + "=" + value + " is out of range " + DeclaredRange(*variable));
        WriteValue(parsed.bytes, static_cast<int32_t>(v));
    } else if (dynamic_cast<GlobalFloatVariable*>(variable)) {
        double v = 0;
        if (!ParseWhole(value, v) || !std::isfinite(v))
            return fail(who + " takes a number, not \"" + value + "\"");
        WriteValue(parsed.bytes, static_cast<float>(v));
    } else if (auto* e = dynamic_cast<GlobalEnumVariable*>(variable)) {
        int64_t index = -1;
        for (uint32_t k = 0; k < e->LabelCount() && index < 0; ++k)
            if (EqualNoCase(value, e->Label(k)))
                index = k;
        if (index < 0 && !ParseWhole(value, index))
            return fail(who + " takes " + DeclaredRange(*variable) + ", not \"" + value + "\"");
        if (index < 0 || index >= e->LabelCount())
            return fail(who + "=" + value + " is out of range: it takes " + DeclaredRange(*variable));
        WriteValue(parsed.bytes, static_cast<int32_t>(index));
    } else {
        return fail(who + " cannot be set from the command line");
    }
    if (!InDeclaredRange(*variable, parsed.bytes))
        return fail(who + "=" + value + " is out of range " + DeclaredRange(*variable));
    out = parsed;
    return true;
}
