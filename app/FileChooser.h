// The file dialogs of the main window's menu: a file to open or a name to
// save under.  Tests replace the dialog to answer in its place.
#pragma once

#include <functional>
#include <string>

class QWidget;

enum class FileChoice { Open, Save };

// title: the dialog's caption; filter: "Text files (*.txt)" and the like;
// suffix: added to a name typed without one.  Returns the path, or an empty
// string when the user cancels.
using FileChooser = std::function<std::string(QWidget* owner, FileChoice choice, const std::string& title,
                                              const std::string& filter, const std::string& suffix)>;

// Returns the previous chooser; an empty one restores the dialog.
FileChooser SetFileChooser(FileChooser chooser);
std::string ChooseFile(QWidget* owner, FileChoice choice, const std::string& title, const std::string& filter,
                       const std::string& suffix);
