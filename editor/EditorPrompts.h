// The questions the editor asks the user: message boxes and file dialogs.
// They go through one replaceable table so that tests and scripted runs can
// answer them without a modal loop.
#pragma once

#include <functional>
#include <string>

class QWidget;

// The three filters of the export dialog, numbered as the file formats.
enum ExportFormat { EXPORT_BINARY = 1, EXPORT_TEXT = 2, EXPORT_TEXT_CHANGES = 3 };

struct EditorPrompts {
    // A message box with an OK button.
    std::function<void(QWidget* owner, const std::string& text, const std::string& title)> message;
    // OK and Cancel; true for OK.
    std::function<bool(QWidget* owner, const std::string& text, const std::string& title)> confirm;
    // The export dialog: returns the chosen path (empty when cancelled) and
    // the chosen filter in *format.
    std::function<std::string(QWidget* owner, const std::string& initial, int* format)> saveFile;
    // The import dialog: returns the chosen path, empty when cancelled.
    std::function<std::string(QWidget* owner, const std::string& initial)> openFile;
};

// The table in use; starts with the Qt dialogs.
EditorPrompts& Prompts();
// Puts the Qt dialogs back.
void ResetPrompts();
