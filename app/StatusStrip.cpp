#include "app/StatusStrip.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kMargin = 3;
}  // namespace

StatusStrip::StatusStrip(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin + 1, kMargin, kMargin, kMargin);
    layout->setSpacing(0);
    flowLine = new QLabel(this);
    cellLine = new QLabel(this);
    for (QLabel* line : {flowLine, cellLine}) {
        // Numbers change every second; plain text keeps a stray "<" from
        // being read as markup, and no width hint lets a long line push the
        // strip or the window wider.
        line->setTextFormat(Qt::PlainText);
        line->setMinimumWidth(1);
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        layout->addWidget(line);
    }
    setAutoFillBackground(true);
}

int StatusStrip::FixedHeight() const { return 2 * fontMetrics().lineSpacing() + 2 * kMargin; }

void StatusStrip::SetFlowText(const std::string& text) { flowLine->setText(QString::fromStdString(text)); }

void StatusStrip::SetCellText(const std::string& text) { cellLine->setText(QString::fromStdString(text)); }

std::string StatusStrip::FlowText() const { return flowLine->text().toStdString(); }

std::string StatusStrip::CellText() const { return cellLine->text().toStdString(); }
