#include "editor/CMyTab.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "editor/CTabRows.h"

CMyTab::CMyTab(QWidget* parent) : QWidget(parent), bar(new QTabBar(this)), rows(new CTabRows(bar, this))
{
    rows->hide();
    bar->setExpanding(false);
    bar->setUsesScrollButtons(true);
    bar->setDrawBase(false);
    connect(bar, &QTabBar::currentChanged, this, [this](int) {
        if (onSelChange) onSelChange();
    });
}

int CMyTab::AddTab(const std::string& text)
{
    // Only an explicit selection tells the editor window: the first tab
    // would otherwise select itself before it has its panes.
    const QSignalBlocker block(bar);
    const int index = bar->addTab(QString::fromStdString(text));
    LayOut();
    return index;
}

int CMyTab::GetItemCount() const { return bar->count(); }

int CMyTab::GetCurSel() const { return bar->currentIndex(); }

void CMyTab::SetCurSel(int index)
{
    const QSignalBlocker block(bar);
    bar->setCurrentIndex(index);
}

std::string CMyTab::GetItemText(int index) const { return bar->tabText(index).toStdString(); }

int CMyTab::RowHeight() const { return bar->sizeHint().height(); }

int CMyTab::GetRowCount() const { return int(CTabRows::Layout(bar, width()).size()); }

void CMyTab::LayOut()
{
    const int count = GetRowCount();
    if (count == 1) {
        rows->hide();
        bar->setGeometry(0, 0, width(), RowHeight());
        bar->show();
    } else {
        bar->hide();
        rows->setGeometry(0, 0, width(), RowHeight() * count);
        rows->show();
        rows->update();
    }
    update();
}

void CMyTab::resizeEvent(QResizeEvent*) { LayOut(); }

void CMyTab::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int strip = RowHeight() * GetRowCount();
    frame.rect = QRect(0, strip - 1, width(), height() - strip + 1);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar->sizeHint();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
}
