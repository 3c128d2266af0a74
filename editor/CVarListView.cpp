#include "editor/CVarListView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "editor/CKindImageList.h"
#include "editor/CValueEditor.h"
#include "storage/ColorRGBVar.h"
#include "storage/GUIData.h"

namespace {

// Column headers: "name", "value", "description".
const char* const kHeaders[3] = {"название", "значение", "описание"};

const char* LastComponent(const char* name)
{
    const char* bar = std::strrchr(name, '|');
    return bar ? bar + 1 : name;
}

// Paints each row with the colours the list view chooses for it.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(CVarListView* list) : QStyledItemDelegate(list), list(list) {}

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

// Rows sort by the bytes of their name text as unsigned characters.
bool NameBelow(QTreeWidgetItem* a, QTreeWidgetItem* b)
{
    const QByteArray x = a->text(0).toUtf8().left(255), y = b->text(0).toUtf8().left(255);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                        [](char p, char q) { return (unsigned char)p < (unsigned char)q; });
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
    auto* item = new QTreeWidgetItem;
    item->setText(COL_NAME, QString::fromUtf8(LastComponent(var->GetName())));
    if (images) item->setIcon(COL_NAME, images->Icon(var->GetType()));
    item->setData(COL_NAME, Qt::UserRole, QVariant::fromValue<void*>(var));
    item->setText(COL_VALUE, QString::fromUtf8(var->AsString()));
    item->setText(COL_DESCRIPTION, QString::fromUtf8(var->GetDescription()));
    addTopLevelItem(item);
    vars.push_back(var);
    return topLevelItemCount() - 1;
}

void CVarListView::Sort(int direction)
{
    sortState = direction;
    if (direction != 1 && direction != -1) return;
    QTreeWidgetItem* current = currentItem();
    std::vector<QTreeWidgetItem*> rows;
    rows.reserve(size_t(topLevelItemCount()));
    while (topLevelItemCount() > 0) rows.push_back(takeTopLevelItem(0));
    if (direction == 1) std::stable_sort(rows.begin(), rows.end(), NameBelow);
    else std::stable_sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return NameBelow(b, a); });
    QList<QTreeWidgetItem*> list(rows.begin(), rows.end());
    addTopLevelItems(list);
    if (current) setCurrentItem(current);
}

CVar* CVarListView::RowVar(int row) const
{
    QTreeWidgetItem* item = topLevelItem(row);
    return item ? static_cast<CVar*>(item->data(COL_NAME, Qt::UserRole).value<void*>()) : nullptr;
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
    // an import), so the texts are refreshed with the colours.
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (CVar* var = RowVar(row)) SetValueText(row, var->AsString());
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
    for (CValueEditor* e : editors)
        if (QWidget* w = e->GetWindow()) w->hide();
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
    SelectRow(row);
    const int left = header()->sectionViewportPosition(COL_VALUE);
    const int right = left + header()->sectionSize(COL_VALUE);
    if (pos.x() >= left && pos.x() <= right) {
        CVar* var = RowVar(row);
        if (CValueEditor* editor = var ? EditorForKind(var->GetType()) : nullptr) editor->Activate(var, this);
    }
    return true;
}

void CVarListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && On_LButtonUp(event->position().toPoint())) return;
    QTreeWidget::mouseReleaseEvent(event);
}

std::unique_ptr<QMenu> CVarListView::BuildContextMenu()
{
    CVar* var = SelectedVar();
    if (!var) return nullptr;
    void* bytes = nullptr;
    unsigned length = 0;
    var->GetDefaultValue(&bytes, &length);
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    char text[512];
    switch (var->GetType()) {
    case VARKIND_INT: {
        int32_t v = 0;
        if (length >= 4) std::memcpy(&v, b, 4);
        std::snprintf(text, sizeof text, "Set Default (\"%d\")", v);
        break;
    }
    case VARKIND_DOUBLE: {
        double v = 0;
        if (length >= 8) std::memcpy(&v, b, 8);
        std::snprintf(text, sizeof text, "Set Default (\"%f\")", v);
        break;
    }
    case VARKIND_FLOAT: {
        float v = 0;
        if (length >= 4) std::memcpy(&v, b, 4);
        std::snprintf(text, sizeof text, "Set Default (\"%f\")", double(v));
        break;
    }
    case VARKIND_COLORRGB:
        std::snprintf(text, sizeof text, "Set Default (\"%d-%d-%d\")", length > 0 ? b[0] : 0, length > 1 ? b[1] : 0,
                      length > 2 ? b[2] : 0);
        break;
    case VARKIND_PROPS: std::snprintf(text, sizeof text, "Set Default"); break;
    default: {
        // The default's bytes as text, up to a zero or the end of the block.
        const unsigned n = b ? unsigned(std::find(b, b + length, 0) - b) : 0;
        std::snprintf(text, sizeof text, "Set Default (\"%.*s\")", int(n), reinterpret_cast<const char*>(b ? b : (const unsigned char*)""));
        break;
    }
    }
    std::free(bytes);
    auto menu = std::make_unique<QMenu>(this);
    QAction* action = menu->addAction(QString::fromUtf8(text));
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
