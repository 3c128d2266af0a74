// The value-cell editors as a user meets them: a click in the value column
// of the editor window's list opens the editor of the row's kind, and every
// edit travels through the component to the client's callback.
#include <dlfcn.h>

#include <QColorDialog>
#include <QComboBox>
#include <QCursor>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cstring>
#include <map>

#include "editor/CMainDlg.h"
#include "editor/CMainWnd.h"
#include "editor/CValueEditor.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "editor/spin/CustomButton.h"
#include "editor/spin/CustomEdit.h"
#include "editor/spin/PopupTrackBar.h"
#include "editor/spin/UpDown.h"
#include "editor/values/InstallValueEditors.h"
#include "editor/values/VarColorRGBEdit.h"
#include "editor/values/VarCombobox.h"
#include "editor/values/PropsView.h"
#include "editor/values/VarEdit.h"
#include "editor/values/VarPropsView.h"
#include "editor/values/VarSpinEdit.h"
#include "platform/com/ClassFactory.h"
#include "platform/messages/Beep.h"
#include "samples/attributes/AttributeData.h"
#include "samples/attributes/SampleIds.h"
#include "storage/VariableStorageImpl.h"
#include "tests/editor/EditorTestSupport.h"

class ValueEditorsTest : public QObject, private EditorOnClient {
    Q_OBJECT

    template <class T>
    T* Editor(int kind) const
    {
        return dynamic_cast<T*>(list->EditorForKind(kind));
    }

private slots:
    void initTestCase()
    {
        UseSandboxRegistry();
        ClearValueEditors();
        InstallValueEditors();
#ifdef ATTRIBUTES_MODULE
        void* module = dlopen(ATTRIBUTES_MODULE, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(module, dlerror());
        auto reg = reinterpret_cast<DllRegisterServerFunction>(dlsym(module, "DllRegisterServer"));
        QVERIFY(reg && reg() == S_OK);
#endif
    }

    void init()
    {
        DemoList* values = DemoList::Create("Values");
        values->AddDouble("g|ratio", "a double", 0.35, 0.35, 0, 1, 0.1);
        values->AddFloat("g|speed", "a float", 0.5f, 0.5f, 0, 2, 0.25f);
        // 990 steps: more than the slider's track has pixels.
        values->AddFloat("g|level", "a float between its steps", 2.37f, 2.37f, 0, 99, 0.1f);
        values->AddDouble("g|free", "a double without a step", 42, 42, 0, 100, 0);
        values->AddInt("g|count", "an integer", 5, 5, -10, 10);
        values->AddString("g|text", "a string", "abc", "abc");
        values->AddEnum("g|mode", "an enumeration", 0, 0, {"x", "y", "z"});
        const uint8_t red[3] = {255, 0, 0};
        values->AddColor("g|tint", "a colour", red, red);
        values->AddProps("g|material", "a property set", CLSID_SampleAttributes, "material", {});
        values->AddProps("g|nowhere", "a property set nobody serves", {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}},
                              "item", {});
        QVERIFY(OpenOn(values, "g"));
        QCOMPARE(list->RowCount(), 10);
    }

    void cleanup()
    {
        CloseEditor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void doubleEditorOpensOnItsStepsAndWritesEachArrowStep()
    {
        ClickValue("g|ratio");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_DOUBLE);
        QVERIFY(spin && spin->isVisible());
        QCOMPARE(spin->geometry(), list->GetValueCellRect(Row("g|ratio")));
        QVERIFY(spin->GetEdit()->hasFocus());
        int lo = -1, hi = -1;
        spin->GetRange(lo, hi);
        QCOMPARE(lo, 0);
        QCOMPARE(hi, 10);
        QCOMPARE(spin->GetValue(), 4);
        QCOMPARE(spin->GetText(), QString("0.350000"));
        QVERIFY(client.calls.empty());

        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton);
        QCOMPARE(client.Count("g|ratio"), 1);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<double>(), 0.5);
        QCOMPARE(spin->GetText(), QString("0.500000"));
        QCOMPARE(RowText("g|ratio"), QString("0.500000"));
        QVERIFY(spin->isVisible());

        // Shift: a tenth of the step; Ctrl: ten steps, within the limits.
        QTest::mouseClick(spin->GetUpDown()->GetDownArrow(), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(client.Last<double>(), 0.49);
        QCOMPARE(RowText("g|ratio"), QString("0.490000"));
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(client.Last<double>(), 1.0);
        QCOMPARE(client.calls.size(), size_t(3));
    }

    void doubleEditorTypedValueIsWrittenOnEnter()
    {
        ClickValue("g|ratio");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_DOUBLE);
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "0.37");
        QCOMPARE(spin->GetValue(), 4);
        QVERIFY(client.calls.empty());
        QTest::keyClick(spin->GetEdit(), Qt::Key_Return);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<double>(), 0.37);
        QCOMPARE(RowText("g|ratio"), QString("0.370000"));
        QVERIFY(!spin->isVisible());
        QVERIFY(list->hasFocus());
        QCOMPARE(beeps, 0);
    }

    void doubleEditorRefusesValuesOutsideItsLimits()
    {
        ClickValue("g|ratio");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_DOUBLE);
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "1.5");
        QTest::keyClick(spin->GetEdit(), Qt::Key_Return);
        QCOMPARE(beeps, 1);
        QVERIFY(spin->isVisible());
        QCOMPARE(spin->GetText(), QString("1.5"));
        QVERIFY(client.calls.empty());
        QCOMPARE(RowText("g|ratio"), QString("0.350000"));
        // Escape leaves without a change.
        QTest::keyClick(spin->GetEdit(), Qt::Key_Escape);
        QVERIFY(!spin->isVisible());
        QVERIFY(client.calls.empty());
    }

    void doubleWithoutAStepStillSteps()
    {
        // No usable step: a hundred steps over the range, here 1 each.
        ClickValue("g|free");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_DOUBLE);
        int lo = -1, hi = -1;
        spin->GetRange(lo, hi);
        QCOMPARE(lo, 0);
        QCOMPARE(hi, 100);
        QCOMPARE(spin->GetValue(), 42);
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<double>(), 43.0);
        // A pasted text that is not a number lies within no limits.
        spin->SetText("nan");
        QTest::keyClick(spin->GetEdit(), Qt::Key_Return);
        QCOMPARE(beeps, 1);
        QCOMPARE(client.calls.size(), size_t(1));
        QVERIFY(spin->isVisible());
    }

    void unchangedNumberIsNotWrittenAgain()
    {
        ClickValue("g|count");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_INT);
        QCOMPARE(spin->GetText(), QString("5"));
        int lo = 0, hi = 0;
        spin->GetRange(lo, hi);
        QCOMPARE(lo, -10);
        QCOMPARE(hi, 10);
        QTest::keyClick(spin->GetEdit(), Qt::Key_Return);
        QVERIFY(client.calls.empty());

        ClickValue("g|count");
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "-7");
        QTest::keyClick(spin->GetEdit(), Qt::Key_Return);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<int32_t>(), -7);
        QCOMPARE(RowText("g|count"), QString("-7"));
    }

    void floatSliderWritesEveryPositionAndPutsTheCursorBack()
    {
        ClickValue("g|speed");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_FLOAT);
        QCOMPARE(spin->GetValue(), 2);
        const QPoint pressedAt = spin->GetButton()->mapToGlobal(QPoint(3, 3));
        QCursor::setPos(pressedAt);
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(3, 3));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        // The popup belongs to the editor: the editor stays open.
        QVERIFY(spin->isVisible());
        QTest::mouseMove(popup, QPoint(5, 0));
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<float>(), 2.0f);
        QCOMPARE(RowText("g|speed"), QString("2.000000"));
        QTest::mouseMove(popup, QPoint(5, 33));
        QCOMPARE(client.calls.size(), size_t(2));
        QCOMPARE(client.Last<float>(), 1.0f);
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, 33));
        // Closing tells the position once more, and the cursor comes back.
        QCOMPARE(client.calls.size(), size_t(3));
        QCOMPARE(client.Last<float>(), 1.0f);
        QCOMPARE(QCursor::pos(), pressedAt);
        QVERIFY(spin->isVisible());
        QVERIFY(spin->GetEdit()->hasFocus());
    }

    void sliderLetGoWithoutMovingWritesNothing()
    {
        // 2.37 lies between two steps: the slider opens on 2.4.
        ClickValue("g|level");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_FLOAT);
        QCOMPARE(spin->GetValue(), 24);
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(3, 3));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        // The cursor put on the thumb arrives as a move; the thumb's pixel,
        // rounded, stands for 2.5 here.
        const QPoint thumb(5, popup->ThumbTop());
        QCOMPARE(popup->PositionAt(thumb.y()), 25);
        QTest::mouseMove(popup, thumb);
        QTest::mouseRelease(popup, Qt::LeftButton, {}, thumb);
        QVERIFY(client.calls.empty());
        QCOMPARE(RowText("g|level"), QString("2.370000"));
        QCOMPARE(spin->GetText(), QString("2.370000"));
    }

    void stringEditedToEmptyWritesOneZeroByte()
    {
        ClickValue("g|text");
        auto* edit = Editor<CVarEdit>(VARKIND_STRING);
        QVERIFY(edit && edit->isVisible());
        QCOMPARE(edit->text(), QString("abc"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.calls[0].second, std::vector<uint8_t>{0});
        QCOMPARE(RowText("g|text"), QString(""));
        QVERIFY(!edit->isVisible());

        ClickValue("g|text");
        QTest::keyClicks(edit, "xyz");
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(client.calls.size(), size_t(1));
    }

    void comboboxChoiceWritesTheIndex()
    {
        ClickValue("g|mode");
        auto* combo = Editor<CVarCombobox>(VARKIND_ENUM);
        QVERIFY(combo && combo->isVisible());
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(client.calls.empty());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<int32_t>(), 1);
        QCOMPARE(RowText("g|mode"), QString("y"));
        QVERIFY(!combo->isVisible());
    }

    void escapeClosesOnlyWhatIsOpen()
    {
        // The editor as a dialog of its own.  Keys go through the window
        // system, as a user's do: to the window that has the keyboard.
        HWND window = storage->p->Create(nullptr, 0, nullptr);
        QVERIFY(window && QTest::qWaitForWindowActive(window));
        const auto escape = [](QWidget* w) { QTest::keyClick(w->window()->windowHandle(), Qt::Key_Escape); };
        CMainWnd* editor = dynamic_cast<CMainDlg*>(window)->Editor();
        CVarTreeView* tree = editor->Tree(0);
        tree->setCurrentItem(tree->FindGroup("g"));
        CVarListView* rows = editor->List(0);
        rows->header()->resizeSection(1, 200);
        const auto clickValue = [rows](const char* name) {
            QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->GetValueCellRect(RowOf(rows, name)).center());
        };

        clickValue("g|mode");
        auto* combo = dynamic_cast<CVarCombobox*>(rows->EditorForKind(VARKIND_ENUM));
        QVERIFY(combo && combo->hasFocus());
        QTest::keyClick(window->windowHandle(), Qt::Key_Down, Qt::AltModifier);
        QWidget* dropDown = QApplication::activePopupWidget();
        QVERIFY(dropDown);
        escape(dropDown);
        QVERIFY(!QApplication::activePopupWidget());
        QVERIFY(window->isVisible());
        QVERIFY(combo->isVisible() && combo->hasFocus());
        escape(combo);
        QVERIFY(window->isVisible());
        QVERIFY(!combo->isVisible() && rows->hasFocus());

        // The popup slider, then the spin editor.
        clickValue("g|count");
        auto* spin = dynamic_cast<CVarSpinEdit*>(rows->EditorForKind(VARKIND_INT));
        QVERIFY(spin && spin->GetEdit()->hasFocus());
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(spin->GetPopup());
        QCoreApplication::processEvents();  // the popup has the keyboard
        escape(spin->GetPopup());
        QVERIFY(!spin->GetPopup() || !spin->GetPopup()->isVisible());
        QVERIFY(window->isVisible() && spin->isVisible());
        escape(spin);
        QVERIFY(window->isVisible() && !spin->isVisible());
        QVERIFY(client.calls.empty());

        // With nothing open, the window's own use of it: closing.
        escape(rows);
        QTRY_VERIFY(!storage->p->GetEditorWindow());
    }

    void confirmedColourRepaintsItsRow()
    {
        ClickValue("g|tint");
        auto* cell = Editor<CVarColorRGBEdit>(VARKIND_COLORRGB);
        QVERIFY(cell && cell->isVisible());
        QVERIFY(cell->GetButton()->geometry().left() >= cell->contentsRect().width() / 2);
        QColor offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            offered = dialog->currentColor();
            dialog->setCurrentColor(QColor(200, 50, 127));
            dialog->accept();
        });
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QCOMPARE(offered, QColor(255, 0, 0));
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.calls[0].second, (std::vector<uint8_t>{200, 50, 127}));
        const int row = Row("g|tint");
        QCOMPARE(RowText("g|tint"), QString("200-50-127"));
        const CVarListView::RowColours colours = list->On_CustomDraw(row);
        QVERIFY(colours.hasBackground);
        QCOMPARE(colours.background, QColor(200, 50, 127));

        // Cancel changes nothing.
        ClickValue("g|tint");
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
                dialog->setCurrentColor(QColor(1, 2, 3));
                dialog->reject();
            }
        });
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(RowText("g|tint"), QString("200-50-127"));
    }

    void propertyEditsReachTheClientAsAttributeBlocks()
    {
#ifndef ATTRIBUTES_MODULE
        QSKIP("the sample attribute server is not built");
#endif
        ClickValue("g|material");
        auto* cell = Editor<CVarPropsView>(VARKIND_PROPS);
        QVERIFY(cell && cell->isVisible());
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CPropsView*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Props Editor"));
            auto* table = qobject_cast<QTableWidget*>(dialog->GetEditorWindow());
            QVERIFY(table);
            QCOMPARE(table->geometry(), dialog->rect());
            QCOMPARE(table->rowCount(), 3);
            QCOMPARE(table->item(0, 0)->text(), QString("name"));
            QCOMPARE(table->item(0, 1)->text(), QString("material"));
            QCOMPARE(table->item(2, 0)->text(), QString("roughness"));
            table->item(2, 1)->setText("0.8");
            table->item(1, 1)->setText("10-20-30");
            shown = true;
            dialog->close();
        });
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QVERIFY(shown);
        // One write per edit, each the whole set as one block.
        QCOMPARE(client.calls.size(), size_t(2));
        QCOMPARE(client.calls[0].first, std::string("g|material"));
        const auto& bytes = client.calls[1].second;
        const auto decoded = DecodeAttributes(bytes.data(), bytes.size());
        QVERIFY(decoded);
        QCOMPARE(*decoded, (AttributeList{{"name", "material"}, {"colour", "10-20-30"}, {"roughness", "0.8"}}));
        QCOMPARE(client.list->ValueBytes("g|material"), bytes);

        // The next dialog shows the edited item.
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CPropsView*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* table = qobject_cast<QTableWidget*>(dialog->GetEditorWindow());
            QVERIFY(table);
            QCOMPARE(table->item(2, 1)->text(), QString("0.8"));
            dialog->close();
        });
        ClickValue("g|material");
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QCOMPARE(client.calls.size(), size_t(2));
    }

    void propertyDialogOfAnUnservedClassStaysEmpty()
    {
        ClickValue("g|nowhere");
        auto* cell = Editor<CVarPropsView>(VARKIND_PROPS);
        bool empty = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CPropsView*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            empty = dialog->GetEditorWindow() == nullptr;
            dialog->close();
        });
        QTest::mouseClick(cell->GetButton(), Qt::LeftButton);
        QVERIFY(empty);
        QVERIFY(client.calls.empty());
    }

    void attributeBlocksAreReadStrictly()
    {
        const AttributeList sample{{"a", "1"}, {"", ""}, {"long name", std::string(300, 'x')}};
        const std::vector<uint8_t> bytes = EncodeAttributes(sample);
        QCOMPARE(*DecodeAttributes(bytes.data(), bytes.size()), sample);
        QVERIFY(!DecodeAttributes(bytes.data(), bytes.size() - 1));
        std::vector<uint8_t> longer = bytes;
        longer.push_back(0);
        QVERIFY(!DecodeAttributes(longer.data(), longer.size()));
        const uint8_t liar[] = {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
        QVERIFY(!DecodeAttributes(liar, sizeof liar));
        const uint8_t empty[] = {0, 0, 0, 0};
        QVERIFY(DecodeAttributes(empty, sizeof empty)->empty());
    }

    void focusLeavingHidesTheEditor()
    {
        ClickValue("g|ratio");
        auto* spin = Editor<CVarSpinEdit>(VARKIND_DOUBLE);
        QVERIFY(spin->isVisible());
        // Its own parts keep it open.
        spin->GetButton()->setFocus();
        QVERIFY(spin->isVisible());
        wnd->Tree(0)->setFocus();
        QVERIFY(!spin->isVisible());

        ClickValue("g|tint");
        auto* cell = Editor<CVarColorRGBEdit>(VARKIND_COLORRGB);
        cell->GetButton()->setFocus();
        QVERIFY(cell->isVisible());
        wnd->Tree(0)->setFocus();
        QVERIFY(!cell->isVisible());
    }

    void typedValueIsWrittenWhenTheFocusLeaves()
    {
        const auto clickName = [this](const char* name) {
            const QRect cell = list->GetValueCellRect(Row(name));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, cell.center().y()));
        };
        // An editor left untouched writes nothing, even between two steps.
        ClickValue("g|level");
        clickName("g|count");
        QVERIFY(client.calls.empty());

        auto* spin = Editor<CVarSpinEdit>(VARKIND_DOUBLE);
        ClickValue("g|ratio");
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "0.37");
        clickName("g|text");
        QCOMPARE(client.calls.size(), size_t(1));
        QCOMPARE(client.Last<double>(), 0.37);
        QCOMPARE(RowText("g|ratio"), QString("0.370000"));
        QVERIFY(!spin->isVisible());
        QCOMPARE(list->SelectedRow(), Row("g|text"));

        // Refused as on Enter: the beep, the editor stays with the text and
        // gets the focus back, the click did not move the selection.
        ClickValue("g|ratio");
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "1.5");
        clickName("g|text");
        QCOMPARE(beeps, 1);
        QCOMPARE(client.calls.size(), size_t(1));
        QVERIFY(spin->isVisible());
        QCOMPARE(spin->GetText(), QString("1.5"));
        QCOMPARE(list->SelectedRow(), Row("g|ratio"));
        QTRY_VERIFY(spin->GetEdit()->hasFocus());
        // Escape still discards.
        QTest::keyClick(spin->GetEdit(), Qt::Key_Escape);
        QVERIFY(!spin->isVisible());
        QCOMPARE(client.calls.size(), size_t(1));

        // A string, left for the tree.
        ClickValue("g|text");
        auto* edit = Editor<CVarEdit>(VARKIND_STRING);
        edit->selectAll();
        QTest::keyClicks(edit, "xyz");
        wnd->Tree(0)->setFocus();
        QCOMPARE(client.calls.size(), size_t(2));
        QCOMPARE(client.calls[1].second, (std::vector<uint8_t>{'x', 'y', 'z', 0}));
        QVERIFY(!edit->isVisible());
    }

    void otherKindBindsNothing()
    {
        ClickValue("g|count");
        auto* edit = Editor<CVarEdit>(VARKIND_STRING);
        edit->Activate(list->RowVar(Row("g|count")), list);
        QVERIFY(edit->isVisible());
        QVERIFY(!edit->GetVariable());
        QTest::keyClicks(edit, "12");
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(client.calls.empty());
    }
};

QTEST_MAIN(ValueEditorsTest)
#include "ValueEditorsTest.moc"
