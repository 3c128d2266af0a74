// The tab strip of CMyTab when its tabs do not fit in one row.  The strip's
// tab bar keeps the tabs and the selection (and draws them itself while
// they fit); this widget lays the same tabs out in rows of its width, in
// order, left to right and top to bottom, draws them with the style's tab
// shapes, and selects through the bar.
#pragma once

#include <vector>

#include <QWidget>

class QTabBar;

class CTabRows : public QWidget {
public:
    CTabRows(QTabBar* model, QWidget* parent);

    // The rows of tab indices for a strip width: each tab as wide as the
    // bar makes it, a row full when the next tab would pass the width (a
    // tab wider than the strip has a row to itself).  At least one row.
    static std::vector<std::vector<int>> Layout(const QTabBar* model, int width);

    // The place of a tab in this widget, for the current width.
    QRect TabRect(int index) const;
    // The tab at a point, or -1.
    int TabAt(const QPoint& at) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTabBar* model;
    int hover = -1;
};
