#include "app/FileChooser.h"

#include <QFileDialog>
#include <QString>

namespace {
std::string FileDialog(QWidget* owner, FileChoice choice, const std::string& title, const std::string& filter,
                       const std::string& suffix)
{
    QFileDialog dialog(owner, QString::fromStdString(title));
    dialog.setAcceptMode(choice == FileChoice::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice == FileChoice::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({QString::fromStdString(filter), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QString::fromStdString(suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

FileChooser& Chooser()
{
    static FileChooser chooser = FileDialog;
    return chooser;
}
}  // namespace

FileChooser SetFileChooser(FileChooser chooser)
{
    FileChooser previous = std::move(Chooser());
    Chooser() = chooser ? std::move(chooser) : FileChooser(FileDialog);
    return previous;
}

std::string ChooseFile(QWidget* owner, FileChoice choice, const std::string& title, const std::string& filter,
                       const std::string& suffix)
{
    return Chooser()(owner, choice, title, filter, suffix);
}
