#include "app/MessageBox.h"

#include <QMessageBox>
#include <QString>

namespace {
void MessageBoxSink(QWidget* owner, const std::string& caption, const std::string& text)
{
    // A box captioned "Error" reports a failure and carries the error icon,
    // so that it is not mistaken for a notice such as "Ready!".
    const QMessageBox::Icon icon = caption == "Error" ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

MessageSink& Sink()
{
    static MessageSink sink = MessageBoxSink;
    return sink;
}
}  // namespace

MessageSink SetMessageSink(MessageSink sink)
{
    MessageSink previous = std::move(Sink());
    Sink() = sink ? std::move(sink) : MessageSink(MessageBoxSink);
    return previous;
}

void ShowMessage(QWidget* owner, const std::string& caption, const std::string& text) { Sink()(owner, caption, text); }
