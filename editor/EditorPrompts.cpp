#include "editor/EditorPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace {

const char* const kExportFilters[] = {"Bin files (*.bin)", "Text files (*.txt)", "Text files(changes only) (*.txt)"};
// The extension a name typed without one gets, per filter.
const char* const kExportSuffixes[] = {"bin", "txt", "txt"};

EditorPrompts QtPrompts()
{
    EditorPrompts p;
    p.message = [](QWidget* owner, const std::string& text, const std::string& title) {
        // A failure looks like one.
        if (title == "Error")
            QMessageBox::critical(owner, QString::fromStdString(title), QString::fromStdString(text));
        else
            QMessageBox::information(owner, QString::fromStdString(title), QString::fromStdString(text));
    };
    p.confirm = [](QWidget* owner, const std::string& text, const std::string& title) {
        return QMessageBox::question(owner, QString::fromStdString(title), QString::fromStdString(text),
                                     QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    };
    p.saveFile = [](QWidget* owner, const std::string& initial, int* format) {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix("bin");
        QStringList filters;
        for (const char* f : kExportFilters) filters << f;
        dialog.setNameFilters(filters);
        // The file gets the extension of the format it is written in.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& filter) {
            const qsizetype index = filters.indexOf(filter);
            if (index >= 0) dialog.setDefaultSuffix(kExportSuffixes[index]);
        });
        if (!initial.empty()) dialog.selectFile(QString::fromStdString(initial));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
        *format = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (*format < EXPORT_BINARY) *format = EXPORT_BINARY;
        return dialog.selectedFiles().front().toStdString();
    };
    p.openFile = [](QWidget* owner, const std::string& initial) {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix("bin");
        dialog.setNameFilter(kExportFilters[0]);
        if (!initial.empty()) dialog.selectFile(QString::fromStdString(initial));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
        return dialog.selectedFiles().front().toStdString();
    };
    return p;
}

}  // namespace

EditorPrompts& Prompts()
{
    static EditorPrompts prompts = QtPrompts();
    return prompts;
}

void ResetPrompts() { Prompts() = QtPrompts(); }
