// Texts that describe a variable to the user: its default as the "Set
// Default" menu item quotes it, and the whole row as its tooltip shows it
// (full name, description, range and step, default).
#pragma once

#include <string>

class CVar;

// The default between the quotes of "Set Default (\"...\")"; false for a
// property set, whose default has no text.
bool DefaultText(const CVar& var, std::string& text);
// The tooltip of a variable's row, as rich text (a long description wraps).
std::string RowToolTip(const CVar& var);
