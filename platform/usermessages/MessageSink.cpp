#include "platform/usermessages/MessageSink.h"

#include <cstdio>

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace {

void DefaultSink(QWidget* owner, const std::string& caption, const std::string& text, bool failure)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(failure ? QMessageBox::Critical : QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

// Empty while the default is in place.
MessageSink& Sink()
{
    static MessageSink sink;
    return sink;
}

void Deliver(QWidget* owner, const std::string& caption, const std::string& text, bool failure)
{
    if (Sink())
        Sink()(owner, caption, text);
    else
        DefaultSink(owner, caption, text, failure);
}

}  // namespace

MessageSink SetMessageSink(MessageSink sink)
{
    MessageSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

void ShowMessage(QWidget* owner, const std::string& caption, const std::string& text)
{
    Deliver(owner, caption, text, caption == "Error");
}

void ReportMessage(const std::string& caption, const std::string& text) { Deliver(nullptr, caption, text, true); }
