#include "editor/CTabRows.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

CTabRows::CTabRows(QTabBar* model_, QWidget* parent) : QWidget(parent), model(model_)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    connect(model, &QTabBar::currentChanged, this, [this](int) { update(); });
}

std::vector<std::vector<int>> CTabRows::Layout(const QTabBar* model, int width)
{
    std::vector<std::vector<int>> rows(1);
    int used = 0;
    for (int i = 0; i < model->count(); ++i) {
        const int w = model->tabRect(i).width();
        if (!rows.back().empty() && used + w > width) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += w;
    }
    return rows;
}

QRect CTabRows::TabRect(int index) const
{
    const int rowHeight = model->sizeHint().height();
    const std::vector<std::vector<int>> rows = Layout(model, width());
    // The row of the selected tab sits next to the page below; the others
    // keep their order above it.
    size_t selectedRow = rows.size() - 1;
    for (size_t r = 0; r < rows.size(); ++r)
        if (std::find(rows[r].begin(), rows[r].end(), model->currentIndex()) != rows[r].end()) selectedRow = r;
    for (size_t r = 0; r < rows.size(); ++r) {
        const size_t shown = r == selectedRow ? rows.size() - 1 : r < selectedRow ? r : r - 1;
        int x = 0;
        for (int i : rows[r]) {
            const int w = std::min(model->tabRect(i).width(), width());
            if (i == index) return QRect(x, int(shown) * rowHeight, w, rowHeight);
            x += w;
        }
    }
    return QRect();
}

int CTabRows::TabAt(const QPoint& at) const
{
    for (int i = 0; i < model->count(); ++i)
        if (TabRect(i).contains(at)) return i;
    return -1;
}

void CTabRows::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    const int current = model->currentIndex();
    const std::vector<std::vector<int>> rows = Layout(model, width());
    const auto draw = [&](const std::vector<int>& row, size_t place) {
        const int index = row[place];
        const size_t count = row.size();
        QStyleOptionTab option;
        option.initFrom(this);
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.rect = TabRect(index);
        option.shape = QTabBar::RoundedNorth;
        option.text = model->tabText(index);
        // Only a tab wider than the whole strip is cut, keeping its padding.
        const int full = model->tabRect(index).width();
        if (option.rect.width() < full) {
            const int padding = full - fontMetrics().horizontalAdvance(option.text);
            option.text = fontMetrics().elidedText(option.text, Qt::ElideRight, option.rect.width() - padding);
        }
        option.tabIndex = index;
        option.features = QStyleOptionTab::HasFrame;
        option.position = count == 1        ? QStyleOptionTab::OnlyOneTab
                          : place == 0       ? QStyleOptionTab::Beginning
                          : place + 1 == count ? QStyleOptionTab::End
                                               : QStyleOptionTab::Middle;
        // Neighbours only within a row: the tab that ends a row does not
        // touch the one that starts the next.
        option.selectedPosition = place + 1 < count && row[place + 1] == current ? QStyleOptionTab::NextIsSelected
                                  : place > 0 && row[place - 1] == current       ? QStyleOptionTab::PreviousIsSelected
                                                                                 : QStyleOptionTab::NotAdjacent;
        if (index == current) {
            option.state |= QStyle::State_Selected;
            if (hasFocus()) option.state |= QStyle::State_HasFocus;
        }
        if (index == hover) option.state |= QStyle::State_MouseOver;
        // A selected tab's shape reaches below its row to meet the page;
        // only the bottom row has the page below it.
        painter.save();
        if (option.rect.bottom() + 1 < height()) painter.setClipRect(option.rect);
        painter.drawControl(QStyle::CE_TabBarTab, option);
        painter.restore();
    };
    // The selected tab last: its raised outline lies over its neighbours.
    const std::vector<int>* currentRow = nullptr;
    size_t currentPlace = 0;
    for (const std::vector<int>& row : rows)
        for (size_t k = 0; k < row.size(); ++k) {
            if (row[k] == current) {
                currentRow = &row;
                currentPlace = k;
                continue;
            }
            draw(row, k);
        }
    if (currentRow) draw(*currentRow, currentPlace);
}

void CTabRows::mousePressEvent(QMouseEvent* event)
{
    const int index = event->button() == Qt::LeftButton ? TabAt(event->position().toPoint()) : -1;
    if (index >= 0) model->setCurrentIndex(index);
    else QWidget::mousePressEvent(event);
}

void CTabRows::mouseMoveEvent(QMouseEvent* event)
{
    const int index = TabAt(event->position().toPoint());
    if (index != hover) {
        hover = index;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void CTabRows::leaveEvent(QEvent* event)
{
    hover = -1;
    update();
    QWidget::leaveEvent(event);
}

void CTabRows::keyPressEvent(QKeyEvent* event)
{
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    const int next = model->currentIndex() + step;
    if (step == 0 || next < 0 || next >= model->count()) {
        QWidget::keyPressEvent(event);
        return;
    }
    model->setCurrentIndex(next);
}
