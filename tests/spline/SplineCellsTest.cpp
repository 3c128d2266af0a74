// The spline value cells in a real editor window: a click in the value
// column shows the "..." cell, its button runs the dialog, and every edit
// made there reaches the client through the component.
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>

#include "SplineTestSupport.h"
#include "editor/CMainWnd.h"
#include "editor/CValueEditor.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "editor/spline/CColorRGBSplineView.h"
#include "editor/spline/CDrawer.h"
#include "editor/spline/CSplineView.h"
#include "editor/spline/CVarColorRGBSplineEdit.h"
#include "editor/spline/CVarColorRGBSplineView.h"
#include "editor/spline/CVarSplineEdit.h"
#include "editor/spline/CVarSplineView.h"
#include "editor/spline/InstallSplineEditors.h"
#include "storage/VariableStorageImpl.h"
#include "tests/editor/EditorTestSupport.h"


class SplineCellsTest : public QObject {
    Q_OBJECT

    StorageRef* storage = nullptr;
    ListClient client;
    CMainWnd* wnd = nullptr;
    CVarListView* list = nullptr;

    int Row(const char* name) const { return RowOf(list, name); }
    void ClickValue(const char* name)
    {
        const int row = Row(name);
        QVERIFY(row >= 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->GetValueCellRect(row).center());
    }

private slots:
    void initTestCase()
    {
        UseSandboxRegistry();
        ClearValueEditors();
        InstallSplineEditors();
    }

    void init()
    {
        client.calls.clear();
        client.list = DemoList::Create("Splines");
        client.list->AddSpline("g|curve", "a spline", {{0, 0, 1, 1}, {1, 1, 1, 1}}, {{0, 0, 1, 1}, {1, 1, 1, 1}},
                               {0, 0, 0, 0}, {2, 2, 0, 0});
        client.list->AddColorSpline("g|ramp", "a colour spline", {{0, 0, 0, 0}, {1, 1, 1, 1}},
                                    {{0, 0, 0, 0}, {1, 1, 1, 1}});
        storage = new StorageRef;
        wnd = OpenEditorFor(*storage, client);
        QVERIFY(QTest::qWaitForWindowActive(wnd));
        CVarTreeView* tree = wnd->Tree(0);
        tree->setCurrentItem(tree->FindGroup("g"));
        list = wnd->List(0);
        QCOMPARE(list->RowCount(), 2);
        list->header()->resizeSection(1, 200);
    }

    void cleanup()
    {
        delete wnd;
        delete storage;
        client.list->Release();
    }

    void splineCellRunsTheCurveEditor()
    {
        ClickValue("g|curve");
        auto* cell = dynamic_cast<CVarSplineView*>(list->EditorForKind(VARKIND_SPLINE2D));
        QVERIFY(cell && cell->isVisible());
        QCOMPARE(cell->geometry(), list->GetValueCellRect(Row("g|curve")));
        QVERIFY(cell->GetButton()->geometry().left() >= cell->contentsRect().width() / 2);
        QCOMPARE(cell->GetButton()->text(), QStringLiteral("..."));
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CVarSplineEdit*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            ran = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Spline Editor"));
            CSplineView* view = dialog->GetView();
            view->SetVisible(cg::rectangle_2(-1, -1, 3, 3));
            view->GetDrawer()->SetWindow(view->GetVisible());
            const cg::point_2 p = view->GetDrawer()->Transform(cg::point_2(1.5, 0.5));
            DoubleClick(view, QPoint(int(p.x), int(p.y)));
            dialog->reject();
        });
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QVERIFY(ran);
        // Opening writes back once, the double click adds a third point.
        QCOMPARE(client.calls.size(), size_t(2));
        QCOMPARE(client.calls[0].first, std::string("g|curve"));
        QCOMPARE(client.calls[0].second.size(), size_t(64));
        QCOMPARE(client.calls[1].second.size(), size_t(96));
        SPLINE2D_POINT added;
        std::memcpy(&added, client.calls[1].second.data() + 64, sizeof added);  // sorted by x: last
        QVERIFY(std::abs(added.x - 1.5) < 0.02 && std::abs(added.y - 0.5) < 0.02);
        QCOMPARE(added.dx, 1.0);
        QCOMPARE(list->topLevelItem(Row("g|curve"))->text(1), QStringLiteral("Click here to start edit"));
    }

    void colourCellRunsTheRampEditor()
    {
        ClickValue("g|ramp");
        auto* cell = dynamic_cast<CVarColorRGBSplineView*>(list->EditorForKind(VARKIND_COLORRGBSPLINE));
        QVERIFY(cell && cell->isVisible());
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CVarColorRGBSplineEdit*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            ran = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Color RGB Spline Editor"));
            CColorRGBSplineView* view = dialog->GetView();
            DoubleClick(view, QPoint(256, 100));
            // Then a drag of the new marker, written at every move.
            Press(view, QPoint(256, 100));
            Move(view, QPoint(300, 100), Qt::LeftButton);
            Move(view, QPoint(350, 100), Qt::LeftButton);
            Release(view, QPoint(350, 100));
            dialog->reject();
        });
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QVERIFY(ran);
        QCOMPARE(client.calls.size(), size_t(4));
        QCOMPARE(client.calls[1].first, std::string("g|ramp"));
        QCOMPARE(client.calls[1].second.size(), size_t(96));
        COLORRGBSPLINE_POINT middle;
        std::memcpy(&middle, client.calls[1].second.data() + 32, sizeof middle);
        QCOMPARE(middle.pos, 0.5);
        QCOMPARE(middle.r, 127 / 255.0);

        // Undo takes the drag back whole, then the double click.
        wnd->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(wnd));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls.size(), size_t(5));
        QCOMPARE(client.calls[4].second, client.calls[1].second);
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls.back().second.size(), size_t(64));
    }

    void cellOfAnotherKindBindsNothing()
    {
        ClickValue("g|curve");
        auto* cell = dynamic_cast<CVarSplineView*>(list->EditorForKind(VARKIND_SPLINE2D));
        QVERIFY(cell);
        cell->Activate(list->RowVar(Row("g|ramp")), list);
        QVERIFY(!cell->GetVariable());
        // The button then opens nothing.
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QCOMPARE(client.calls.size(), size_t(0));
    }
};

QTEST_MAIN(SplineCellsTest)
#include "SplineCellsTest.moc"
