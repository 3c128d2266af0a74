// The strip under the flow picture: two lines of plain text, the numbers of
// the flow and the cell under the mouse.  Its height is fixed by its font,
// so the picture area above it changes only when the window does.
#pragma once

#include <string>

#include <QWidget>

class QLabel;

class StatusStrip : public QWidget {
public:
    explicit StatusStrip(QWidget* parent);

    // Two lines of the current font and their margins.
    int FixedHeight() const;

    void SetFlowText(const std::string& text);
    void SetCellText(const std::string& text);
    std::string FlowText() const;
    std::string CellText() const;

private:
    QLabel* flowLine;
    QLabel* cellLine;
};
