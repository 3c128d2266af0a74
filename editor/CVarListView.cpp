#include "editor/CVarListView.h"

#include <algorithm>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>

#include "editor/CKindImageList.h"
#include "editor/CValueEditor.h"
#include "editor/CVarRow.h"
#include "editor/VarDescription.h"
#include "storage/ColorRGBVar.h"
#include "storage/GUIData.h"

namespace {

// Column headers: "name", "value", "description".
const char* const kHeaders[3] = {"название", "значение", "описание"};

// Paints each row with the colours the list view chooses for it.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(CVarListView* list) : QStyledItemDelegate(list), list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() != CVarListView::COL_NAME) return;
        const QRect marker = list->ResetMarkerRect(index.row());
        if (marker.isEmpty()) return;
        // A small round badge on the corner of the kind icon: the row's
        // look stays as it was, and the click target sits where the eye
        // starts reading.
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::white, 1.5));
        painter->setBrush(QColor(225, 110, 0));
        painter->drawEllipse(QRectF(marker).adjusted(0.75, 0.75, -0.75, -0.75));
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const CVarListView::RowColours colours = list->On_CustomDraw(index.row());
        option->palette.setColor(QPalette::Text, colours.text);
        if (colours.hasBackground) {
            option->backgroundBrush = QBrush(colours.background);
            option->palette.setColor(QPalette::HighlightedText, colours.text);
        }
    }

private:
    CVarListView* list;
};

// Rows sort by the bytes of their name text.
bool RowBelow(QTreeWidgetItem* a, QTreeWidgetItem* b)
{
    const QByteArray x = a->text(0).toUtf8(), y = b->text(0).toUtf8();
    return CVarListView::NameBelow(std::string_view(x.constData(), size_t(x.size())),
                                   std::string_view(y.constData(), size_t(y.size())));
}

}  // namespace

CVarListView::CVarListView(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setItemDelegate(new RowDelegate(this));
    setIconSize(QSize(CKindImageList::kImageSize, CKindImageList::kImageSize));
    hide();
}

void CVarListView::Init(const CKindImageList* imageList, CGUIData* data)
{
    initialising = true;
    images = imageList;
    guiData = data;
    setColumnCount(3);
    QStringList labels;
    for (const char* h : kHeaders) labels << QString::fromUtf8(h);
    setHeaderLabels(labels);
    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(false);
    head->setSectionsClickable(true);
    head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < 3; ++c) {
        head->resizeSection(c, fontMetrics().horizontalAdvance(labels[c]) + 15);
        if (guiData) head->resizeSection(c, guiData->getCol(c));
    }
    connect(head, &QHeaderView::sectionClicked, this, [this](int column) { On_ColumnClick(column); });
    connect(head, &QHeaderView::sectionResized, this, [this](int, int, int) { On_HeaderItemChanging(); });

    for (const ValueEditorRegistration& entry : RegisteredValueEditors()) {
        CValueEditor* editor = entry.factory ? entry.factory(this) : nullptr;
        if (!editor) continue;
        editors.push_back(editor);
        if (QWidget* w = editor->GetWindow()) {
            w->setFont(font());
            w->hide();
            // Tab reaches whichever part of the editor has the focus.
            w->installEventFilter(this);
            for (QWidget* part : w->findChildren<QWidget*>()) part->installEventFilter(this);
        }
        for (int kind : entry.kinds) editorByKind[kind] = editor;
    }
    ResizeEditors();
    initialising = false;
}

void CVarListView::Reset()
{
    HideEditors();
    clear();
    sortState = 0;
    vars.clear();
}

int CVarListView::AddVariable(CVar* var)
{
    addTopLevelItem(new CVarRow(var, false, images));
    vars.push_back(var);
    return topLevelItemCount() - 1;
}

void CVarListView::ShowFound(const std::vector<CVar*>& found)
{
    Reset();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(found.size()));
    for (CVar* var : found) rows.push_back(new CVarRow(var, true, images));
    // In one insertion: a row at a time costs a model update each.
    addTopLevelItems(rows);
    vars = found;
    sortState = 1;
}

void CVarListView::Sort(int direction)
{
    sortState = direction;
    if (direction != 1 && direction != -1) return;
    QTreeWidgetItem* current = currentItem();
    std::vector<QTreeWidgetItem*> rows;
    rows.reserve(size_t(topLevelItemCount()));
    while (topLevelItemCount() > 0) rows.push_back(takeTopLevelItem(0));
    if (direction == 1) std::stable_sort(rows.begin(), rows.end(), RowBelow);
    else std::stable_sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return RowBelow(b, a); });
    QList<QTreeWidgetItem*> list(rows.begin(), rows.end());
    addTopLevelItems(list);
    if (current) setCurrentItem(current);
}

bool CVarListView::NameBelow(std::string_view a, std::string_view b)
{
    a = a.substr(0, 255);
    b = b.substr(0, 255);
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char p, char q) { return (unsigned char)p < (unsigned char)q; });
}

CVar* CVarListView::RowVar(int row) const
{
    QTreeWidgetItem* item = topLevelItem(row);
    return item ? static_cast<CVarRow*>(item)->Var() : nullptr;
}

int CVarListView::SelectedRow() const
{
    QTreeWidgetItem* item = currentItem();
    return item && item->isSelected() ? indexOfTopLevelItem(item) : -1;
}

CVar* CVarListView::SelectedVar() const { return RowVar(SelectedRow()); }

void CVarListView::SelectRow(int row)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return;
    setCurrentItem(item);
    item->setSelected(true);
    setFocus(Qt::MouseFocusReason);
    scrollToItem(item);
}

void CVarListView::SetValueText(int row, const char* text)
{
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        const QString value = QString::fromUtf8(text);
        if (item->text(COL_VALUE) != value) item->setText(COL_VALUE, value);
    }
}

void CVarListView::SetSelectedValueText(const char* text) { SetValueText(SelectedRow(), text); }

void CVarListView::Redraw()
{
    // Values can change without an editor of this list (a reset of a group,
    // an import): the rows read them afresh as they are painted.
    viewport()->update();
}

void CVarListView::ShowChangedValue(const CVar* var)
{
    // Editors sit over the selected row only.
    if (var && var == SelectedVar()) {
        const QWidget* focus = QApplication::focusWidget();
        for (CValueEditor* e : editors) {
            QWidget* w = e->GetWindow();
            if (!w || !w->isVisible()) continue;
            // The value that arrived wins over one typed for the old.
            e->Discard();
            // The focus comes back to the list, as when the edit ends.
            if (focus && (focus == w || w->isAncestorOf(focus))) setFocus(Qt::OtherFocusReason);
            w->hide();
        }
    }
    Redraw();
}

CVarListView::RowColours CVarListView::On_CustomDraw(int row) const
{
    RowColours c;
    c.text = palette().color(QPalette::Text);
    CVar* var = RowVar(row);
    if (!var) {
        c.text = QColor(255, 0, 0);
        return c;
    }
    if (var->IsDefault()) c.text = QColor(150, 150, 150);
    if (var->GetType() == VARKIND_COLORRGB) {
        const uint8_t* rgb = (*static_cast<CColorRGBVar*>(var))();
        c.hasBackground = true;
        c.background = QColor(rgb[0], rgb[1], rgb[2]);
        // Each channel of the text contrasts with the background's.
        c.text = QColor(rgb[0] < 127 ? 255 : 0, rgb[1] < 127 ? 255 : 0, rgb[2] < 127 ? 255 : 0);
    }
    return c;
}

QWidget* CVarListView::EditorParent() const { return viewport(); }

QRect CVarListView::GetValueCellRect(int row) const
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return QRect();
    return visualRect(indexFromItem(item, COL_VALUE));
}

void CVarListView::HideEditors()
{
    for (CValueEditor* e : editors) {
        QWidget* w = e->GetWindow();
        if (!w || !w->isVisible()) continue;
        // Nothing typed goes unwritten; a refused value has beeped and goes.
        if (!e->Commit()) e->Discard();
        w->hide();
    }
}

CValueEditor* CVarListView::EditorForKind(int kind) const
{
    auto it = editorByKind.find(kind);
    return it == editorByKind.end() ? nullptr : it->second;
}

void CVarListView::ResizeEditors()
{
    if (SelectedRow() < 0) return;
    for (CValueEditor* e : editors) e->Resize();
}

bool CVarListView::On_LButtonUp(const QPoint& pos)
{
    int row = -1;
    for (int r = 0; r < topLevelItemCount(); ++r) {
        const QRect rect = visualItemRect(topLevelItem(r));
        if (rect.top() <= pos.y() && pos.y() <= rect.bottom()) {
            row = r;
            break;
        }
    }
    if (row < 0) return false;
    // Tested before the selection moves: the marker is the row's as it is now.
    const bool onMarker = ResetMarkerRect(row).adjusted(-2, -2, 2, 2).contains(pos);
    SelectRow(row);
    if (onMarker) {
        ResetSelected();
        return true;
    }
    const int left = header()->sectionViewportPosition(COL_VALUE);
    const int right = left + header()->sectionSize(COL_VALUE);
    if (pos.x() >= left && pos.x() <= right) OpenEditor(row);
    return true;
}

bool CVarListView::OpenEditor(int row)
{
    CVar* var = RowVar(row);
    CValueEditor* editor = var ? EditorForKind(var->GetType()) : nullptr;
    if (!editor) return false;
    editor->Activate(var, this);
    return true;
}

void CVarListView::ResetSelected()
{
    CVar* var = SelectedVar();
    if (var && !var->IsDefault()) On_Command(ID_SET_DEFAULT);
}

QRect CVarListView::ResetMarkerRect(int row) const
{
    CVar* var = RowVar(row);
    if (!var || var->IsDefault()) return QRect();
    const QRect cell = visualRect(indexFromItem(topLevelItem(row), COL_NAME));
    constexpr int kSize = 9;
    return QRect(cell.left() + 1, cell.bottom() - kSize + 1, kSize, kSize);
}

CValueEditor* CVarListView::FocusedEditor() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (!focus) return nullptr;
    for (CValueEditor* e : editors) {
        const QWidget* w = e->GetWindow();
        if (w && w->isVisible() && (w == focus || w->isAncestorOf(focus))) return e;
    }
    return nullptr;
}

void CVarListView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            ResetSelected();
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            // Taken even without an editor, so that a dialog around the
            // list never reads it as its own default button.
            OpenEditor(SelectedRow());
            event->accept();
            return;
        default: break;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

bool CVarListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool back = key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if ((key->key() == Qt::Key_Tab || back) && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            FocusedEditor()) {
            On_EditorTab(!back);
            return true;
        }
    }
    return QTreeWidget::eventFilter(watched, event);
}

void CVarListView::On_EditorTab(bool forward)
{
    CValueEditor* editor = FocusedEditor();
    if (!editor || !editor->Commit()) return;
    const int row = SelectedRow() + (forward ? 1 : -1);
    // Past the first or last row the edit ends in the list.
    if (row < 0 || row >= topLevelItemCount()) {
        setFocus(Qt::TabFocusReason);
        HideEditors();
        return;
    }
    SelectRow(row);
    OpenEditor(row);
}

bool CVarListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const CVar* var = index.isValid() ? RowVar(index.row()) : nullptr;
        // Shown for as long as the cursor stays on the row.
        if (var)
            QToolTip::showText(help->globalPos(), QString::fromStdString(RowToolTip(*var)), viewport(),
                               visualItemRect(topLevelItem(index.row())));
        else
            QToolTip::hideText();
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

void CVarListView::focusInEvent(QFocusEvent* event)
{
    QTreeWidget::focusInEvent(event);
    // The focus came from an editor (a click on another row, the editor's
    // own Enter): what it holds is written as Enter writes it.  A refused
    // value keeps the editor open, and the click that left it does nothing.
    const QWidget* focus = QApplication::focusWidget();
    for (CValueEditor* e : editors) {
        QWidget* w = e->GetWindow();
        if (!w || !w->isVisible() || w == focus || w->isAncestorOf(focus)) continue;
        if (e->Commit()) {
            w->hide();
            continue;
        }
        holdClick = event->reason() == Qt::MouseFocusReason;
        QTimer::singleShot(0, w, [this, w] {
            holdClick = false;
            if (w->isVisible()) w->setFocus(Qt::OtherFocusReason);
        });
    }
}

void CVarListView::mousePressEvent(QMouseEvent* event)
{
    if (holdClick) {
        holdClick = false;
        swallowRelease = true;
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CVarListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (swallowRelease) {
        swallowRelease = false;
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && On_LButtonUp(event->position().toPoint())) return;
    QTreeWidget::mouseReleaseEvent(event);
}

std::unique_ptr<QMenu> CVarListView::BuildContextMenu()
{
    CVar* var = SelectedVar();
    if (!var) return nullptr;
    std::string value;
    const std::string text = DefaultText(*var, value) ? "Set Default (\"" + value + "\")" : "Set Default";
    auto menu = std::make_unique<QMenu>(this);
    QAction* action = menu->addAction(QString::fromStdString(text));
    action->setData(int(ID_SET_DEFAULT));
    action->setEnabled(!var->IsDefault());
    return menu;
}

void CVarListView::On_Command(int id)
{
    if (id != ID_SET_DEFAULT) return;
    const int row = SelectedRow();
    CVar* var = RowVar(row);
    if (!var) return;
    var->SetDefault();
    SetValueText(row, var->AsString());
}

void CVarListView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    if (!menu) return;
    connect(menu.get(), &QMenu::triggered, this, [this](QAction* a) { On_Command(a->data().toInt()); });
    menu->exec(event->globalPos());
}

void CVarListView::On_ColumnClick(int)
{
    HideEditors();
    sortState = sortState == 0 ? -1 : -sortState;
    Sort(sortState);
}

void CVarListView::On_HeaderItemChanging()
{
    if (initialising) return;
    HideEditors();
    if (!guiData) return;
    for (int c = 0; c < 3; ++c) guiData->setCol(c, header()->sectionSize(c));
}

void CVarListView::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    On_Size();
}

void CVarListView::On_Size() { ResizeEditors(); }

void CVarListView::scrollContentsBy(int dx, int dy)
{
    QTreeWidget::scrollContentsBy(dx, dy);
    ResizeEditors();
    HideEditors();
}
