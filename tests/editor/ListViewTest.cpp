// The variable list: columns, sorting, row colours, the "Set Default" menu,
// the value-column hook and the column widths.
#include <QHeaderView>
#include <QMenu>
#include <QtTest>

#include "editor/CKindImageList.h"
#include "editor/CValueEditor.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "tests/editor/EditorTestSupport.h"

namespace {

// Stands in for an in-place editor: remembers what it was asked to do.
class ProbeEditor : public QWidget, public CValueEditor {
public:
    explicit ProbeEditor(CVarListView* list) : QWidget(list->EditorParent()) { ++created; }
    QWidget* GetWindow() override { return this; }
    void Activate(CVar* variable, CVarListView* list) override
    {
        activated.push_back(variable);
        setGeometry(list->GetValueCellRect(list->SelectedRow()));
        show();
    }
    void Resize() override { ++resized; }

    static inline int created = 0;
    static inline std::vector<CVar*> activated;
    int resized = 0;
};

struct Fixture {
    CVarTreeView tree{nullptr};
    CKindImageList images;
    CGUIData gui;
    CVarListView list{nullptr};

    explicit Fixture(DemoList* source)
    {
        GLOBAL_VARIABLE_INFO info{};
        source->Reset();
        while (source->Next(&info)) tree.AddVar(info, kListA, nullptr);
        source->Release();
        list.Init(&images, &gui);
        list.resize(400, 300);
    }
    // Shows a group's own variables as the editor window does.
    void Show(const std::string& group)
    {
        list.Reset();
        for (CVar* v : (group.empty() ? tree.Root() : tree.FindGroup(group))->Vars()) list.AddVariable(v);
        list.Sort(1);
    }
    QStringList Names() const
    {
        QStringList names;
        for (int r = 0; r < list.RowCount(); ++r) names << list.topLevelItem(r)->text(0);
        return names;
    }
    int RowOf(const char* name) const { return int(Names().indexOf(name)); }
};

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseSandboxRegistry(); }

    void columnsAndRows()
    {
        CGUIData gui;
        gui.setCol(0, 120);
        gui.setCol(1, 90);
        gui.setCol(2, 200);
        Fixture f(CreateEveryKindList("L"));
        // A fresh record read back from the registry.
        CVarListView list(nullptr);
        CGUIData stored;
        list.Init(&f.images, &stored);
        QCOMPARE(list.headerItem()->text(0), QString::fromUtf8("название"));
        QCOMPARE(list.headerItem()->text(1), QString::fromUtf8("значение"));
        QCOMPARE(list.headerItem()->text(2), QString::fromUtf8("описание"));
        QCOMPARE(list.header()->sectionSize(0), 120);
        QCOMPARE(list.header()->sectionSize(1), 90);
        QCOMPARE(list.header()->sectionSize(2), 200);
        // Init writes nothing back.
        QCOMPARE(CGUIData().getCol(2), 200);

        f.Show("a|c");
        QCOMPARE(f.Names(), (QStringList{"curve", "mode", "ratio"}));
        const int mode = f.RowOf("mode");
        QCOMPARE(f.list.topLevelItem(mode)->text(1), QString("y"));
        QCOMPARE(f.list.topLevelItem(mode)->text(2), QString("an enumeration"));
        QCOMPARE(std::string(f.list.RowVar(mode)->GetName()), std::string("a|c|mode"));
        QVERIFY(!f.list.topLevelItem(mode)->icon(0).isNull());
    }

    void dividerDragWritesTheWidths()
    {
        Fixture f(CreateEveryKindList("L"));
        f.list.header()->resizeSection(1, 150);
        CGUIData stored;
        QCOMPARE(stored.getCol(1), 150);
        QCOMPARE(stored.getCol(0), f.list.header()->sectionSize(0));
    }

    void sortToggling()
    {
        Fixture f(CreateIntList("L", {"g|b", "g|a", "g|C", "g|_x"}));
        f.Show("g");
        // Byte order: capitals before "_" before small letters.
        QCOMPARE(f.Names(), (QStringList{"C", "_x", "a", "b"}));
        QCOMPARE(f.list.SortState(), 1);
        f.list.show();
        const QPoint header0(f.list.header()->sectionViewportPosition(0) + 5, f.list.header()->height() / 2);
        QTest::mouseClick(f.list.header()->viewport(), Qt::LeftButton, {}, header0);
        QCOMPARE(f.Names(), (QStringList{"b", "a", "_x", "C"}));
        QCOMPARE(f.list.SortState(), -1);
        f.list.On_ColumnClick(2);
        QCOMPARE(f.Names(), (QStringList{"C", "_x", "a", "b"}));
        // After a reset the first click sorts descending again.
        f.list.Reset();
        QCOMPARE(f.list.SortState(), 0);
        f.list.On_ColumnClick(0);
        QCOMPARE(f.list.SortState(), -1);
    }

    void rowColours()
    {
        DemoList* source = CreateEveryKindList("L");
        const uint8_t colour[3] = {200, 50, 127}, white[3] = {255, 255, 255};
        source->AddColor("look|paint", "", colour, white);
        Fixture f(source);
        f.Show("look");
        const int paint = f.RowOf("paint");
        const CVarListView::RowColours c = f.list.On_CustomDraw(paint);
        QVERIFY(c.hasBackground);
        QCOMPARE(c.background, QColor(200, 50, 127));
        QCOMPARE(c.text, QColor(0, 255, 0));
        // A colour row at its default is painted in its colour, not grey.
        const CVarListView::RowColours tint = f.list.On_CustomDraw(f.RowOf("tint"));
        QCOMPARE(tint.background, QColor(255, 0, 0));
        QCOMPARE(tint.text, QColor(0, 255, 255));
        // Other rows: grey at the default, the normal text colour otherwise.
        const int props = f.RowOf("props");
        QCOMPARE(f.list.On_CustomDraw(props).text, QColor(150, 150, 150));
        QVERIFY(!f.list.On_CustomDraw(props).hasBackground);
        f.list.RowVar(props)->SetValue("x", 1);
        QCOMPARE(f.list.On_CustomDraw(props).text, f.list.palette().color(QPalette::Text));

        // And the row is painted so: a pixel at the end of the value cell.
        f.list.show();
        f.list.clearSelection();
        const QRect cell = f.list.GetValueCellRect(paint);
        const QImage shot = f.list.viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(cell.right() - 3, cell.center().y()), QColor(200, 50, 127));
    }

    void setDefaultMenu()
    {
        Fixture f(CreateEveryKindList("L"));
        struct Expect {
            const char* group;
            const char* row;
            const char* text;
        };
        const Expect expect[] = {
            {"a|b", "count", "Set Default (\"5\")"},        {"a|b", "text", "Set Default (\"abc\")"},
            {"a|c", "mode", "Set Default (\"y\")"},         {"a|c", "ratio", "Set Default (\"0.250000\")"},
            {"a", "speed", "Set Default (\"0.500000\")"},   {"look", "tint", "Set Default (\"255-0-0\")"},
            {"look", "props", "Set Default"},               {"a|c", "curve", "Set Default (\"\")"},
        };
        for (const Expect& e : expect) {
            f.Show(e.group);
            QVERIFY(!f.list.BuildContextMenu());  // no row selected
            f.list.SelectRow(f.RowOf(e.row));
            auto menu = f.list.BuildContextMenu();
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 1);
            QAction* action = menu->actions()[0];
            QCOMPARE(action->text(), QString::fromUtf8(e.text));
            QCOMPARE(action->data().toInt(), 111);
            QVERIFY2(!action->isEnabled(), e.row);
        }
        // Changed: enabled, and the command resets and rewrites the row.
        f.Show("a|b");
        const int count = f.RowOf("count");
        f.list.SelectRow(count);
        const int32_t v = 77;
        f.list.RowVar(count)->SetValue(&v, 4);
        f.list.SetValueText(count, "77");
        QVERIFY(f.list.BuildContextMenu()->actions()[0]->isEnabled());
        f.list.On_Command(CVarListView::ID_SET_DEFAULT);
        QVERIFY(f.list.RowVar(count)->IsDefault());
        QCOMPARE(f.list.topLevelItem(count)->text(1), QString("5"));
    }

    void valueClicksReachTheHook()
    {
        ClearValueEditors();
        ProbeEditor::created = 0;
        ProbeEditor::activated.clear();
        RegisterValueEditor({VARKIND_INT, VARKIND_DOUBLE},
                            [](CVarListView* list) -> CValueEditor* { return new ProbeEditor(list); });
        Fixture f(CreateEveryKindList("L"));
        QCOMPARE(ProbeEditor::created, 1);
        QVERIFY(f.list.EditorForKind(VARKIND_INT) == f.list.EditorForKind(VARKIND_DOUBLE));
        QVERIFY(!f.list.EditorForKind(VARKIND_STRING));
        f.list.show();
        f.Show("a|b");
        const int count = f.RowOf("count"), text = f.RowOf("text");
        const QRect cell = f.list.GetValueCellRect(count);
        // A click in the name column selects without editing.
        QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {},
                          QPoint(f.list.header()->sectionViewportPosition(0) + 3, cell.center().y()));
        QCOMPARE(f.list.SelectedRow(), count);
        QVERIFY(ProbeEditor::activated.empty());
        // In the value column the kind's editor is activated over the cell.
        QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(ProbeEditor::activated.size(), size_t(1));
        QCOMPARE(ProbeEditor::activated[0], f.list.RowVar(count));
        auto* editor = dynamic_cast<ProbeEditor*>(f.list.EditorForKind(VARKIND_INT));
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->geometry(), cell);
        // A kind without an editor: selected, nothing activated.
        QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, f.list.GetValueCellRect(text).center());
        QCOMPARE(f.list.SelectedRow(), text);
        QCOMPARE(ProbeEditor::activated.size(), size_t(1));
        // A click below the last row is not a row click; a header click hides editors.
        QVERIFY(!f.list.On_LButtonUp(QPoint(cell.center().x(), f.list.viewport()->height() - 2)));
        f.list.On_ColumnClick(0);
        QVERIFY(!editor->isVisible());
        ClearValueEditors();
    }
};

QTEST_MAIN(ListViewTest)
#include "ListViewTest.moc"
