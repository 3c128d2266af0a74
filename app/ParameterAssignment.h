// "NAME=VALUE" from the command line, for one parameter: the name found as
// the storage binding finds it (letter case ignored), the value a whole
// number, a number, or for an enumeration one of its labels or an index.
// What a user typed is checked, not clamped: a value outside the declared
// range is an error.
#pragma once

#include <string>
#include <string_view>

#include "app/GlobalVariable.h"

struct ParameterAssignment {
    GlobalVariable* variable = nullptr;
    unsigned char bytes[4] = {};  // the value in the parameter's own layout
};

// False with a one-line reason in *error for text without "=", an unknown
// name, a value the parameter's kind cannot take, or one out of range.
bool ParseParameterAssignment(std::string_view text, ParameterAssignment& out, std::string* error);

// Whether four value bytes lie in the parameter's declared range: minimum to
// maximum for numbers (never NaN), a label index for an enumeration.
bool InDeclaredRange(const GlobalVariable& variable, const void* bytes);

// The declared range in words: "64 to 1024", "GPU or CPU".
std::string DeclaredRange(const GlobalVariable& variable);

// The default in words: "512", "0.1", "GPU".
std::string DefaultText(const GlobalVariable& variable);
