// The tab strip of the editor window with the framed area below it, in
// which the editor window places its splitter.  Selection changes go to the
// editor window through onSelChange.  Tabs that do not fit in one row wrap
// into more (CTabRows), and the framed area moves down by the rows added.  (The row colours that the tab control
// of the first design passed back to the list views are drawn by the list
// views' own delegate here; nothing travels through the tab control.)
#pragma once

#include <functional>
#include <string>

#include <QWidget>

class CTabRows;
class QTabBar;

class CMyTab : public QWidget {
public:
    explicit CMyTab(QWidget* parent);

    // Appends a tab; returns its index.
    int AddTab(const std::string& text);
    int GetItemCount() const;
    int GetCurSel() const;
    // Selects a tab without telling the editor window.
    void SetCurSel(int index);
    std::string GetItemText(int index) const;
    // How many rows the tabs take at the strip's width.
    int GetRowCount() const;
    // Height of one row of tabs.
    int RowHeight() const;
    QTabBar* Bar() const { return bar; }
    CTabRows* Rows() const { return rows; }

    std::function<void()> onSelChange;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // One row: the tab bar itself; more: the rows drawn from it.
    void LayOut();

    QTabBar* bar;
    CTabRows* rows;
};
