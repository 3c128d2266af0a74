// End to end through the real path: the component module registered in a
// registry of its own, created by the demo client by class id, its editor
// driven with the mouse, and what reaches the client's callback and sink.
#include <dlfcn.h>

#include <optional>

#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTreeWidget>
#include <QtTest>

#include "demo/DemoWindow.h"
#include "platform/com/ClassFactory.h"
#include "tests/support/RegistrySandbox.h"

namespace {

QTreeWidget* VisibleTree(QWidget* editor)
{
    for (QTreeWidget* t : editor->findChildren<QTreeWidget*>())
        if (t->isVisible() && t->isHeaderHidden()) return t;
    return nullptr;
}

QTreeWidget* VisibleList(QWidget* editor)
{
    for (QTreeWidget* t : editor->findChildren<QTreeWidget*>())
        if (t->isVisible() && !t->isHeaderHidden()) return t;
    return nullptr;
}

QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

// Chooses the named entry of the context menu that opens next.
void ChooseFromNextMenu(const QString& entry, QString* seen)
{
    QTimer::singleShot(100, [entry, seen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions()) {
            if (a->text() != entry) continue;
            *seen = a->text() + (a->isEnabled() ? "" : " (greyed)");
            if (a->isEnabled()) a->trigger();
        }
        menu->close();
    });
}

}  // namespace

class DemoEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registry.emplace();
        module = dlopen(QUILLET_MODULE, RTLD_NOW);
        QVERIFY2(module, dlerror());
        auto reg = reinterpret_cast<DllRegisterServerFunction>(dlsym(module, "DllRegisterServer"));
        QVERIFY(reg && reg() == S_OK);
    }

    void cleanupTestCase() { registry.reset(); }

    void editsInTheChildControlReachTheClient()
    {
        DemoWindow demo;
        QVERIFY2(demo.IsReady(), demo.ErrorText().c_str());
        demo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&demo));
        demo.ToggleControl();
        QWidget* editor = demo.Control();
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QString("Variables editor"));

        auto* tabs = editor->findChild<QTabBar*>();
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QString("Render"));
        QCOMPARE(tabs->tabText(1), QString("Scene"));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QTreeWidget* tree = VisibleTree(editor);
        QVERIFY(tree);
        QVERIFY(FindItem(tree, "look"));
        QVERIFY(FindItem(tree, "look")->font(0).bold());  // the obstacle colour differs
        QVERIFY(!FindItem(tree, "grid")->font(0).bold());

        // A group's variables, sorted by name.
        QTreeWidgetItem* grid = FindItem(tree, "grid");
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(grid).center());
        QTreeWidget* list = VisibleList(editor);
        QVERIFY(list);
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("height"));
        QCOMPARE(list->topLevelItem(2)->text(1), QString("256"));

        // "Reset to Defaults" on "look|colours" from the context menu.
        const int callbacks = demo.CallbackCount(), sinks = demo.SinkCount();
        QTreeWidgetItem* look = FindItem(tree, "look");
        look->setExpanded(true);
        QTreeWidgetItem* colours = FindItem(tree, "colours");
        QVERIFY(colours->font(0).bold());
        const QPoint at = tree->visualItemRect(colours).center();
        QString chosen;
        ChooseFromNextMenu("Reset to Defaults", &chosen);
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
        QCOMPARE(chosen, QString("Reset to Defaults"));
        QCOMPARE(demo.CallbackCount(), callbacks + 1);
        QCOMPARE(demo.SinkCount(), sinks + 1);
        QCOMPARE(demo.Scene()->ValueBytes("look|colours|obstacle"), (std::vector<uint8_t>{255, 255, 255}));
        const QString log = demo.Log()->toPlainText();
        QVERIFY(log.contains("callback  Scene  look|colours|obstacle = 255-255-255"));
        QVERIFY(log.contains("sink      Scene  look|colours|obstacle = 255-255-255"));
        QVERIFY(log.indexOf("sink      Scene  look") < log.indexOf("callback  Scene  look"));
        QVERIFY(!colours->font(0).bold());
        QVERIFY(look->font(0).bold());  // its curves still differ

        // Nothing left to reset: the entry is greyed.
        ChooseFromNextMenu("Reset to Defaults", &chosen);
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
        QCOMPARE(chosen, QString("Reset to Defaults (greyed)"));
        QCOMPARE(demo.CallbackCount(), callbacks + 1);
    }

    void modalDialogFromTheDemo()
    {
        DemoWindow demo;
        QVERIFY(demo.IsReady());
        demo.show();
        QString title;
        int tabs = 0;
        QTimer::singleShot(100, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            title = dialog->windowTitle();
            if (auto* bar = dialog->findChild<QTabBar*>()) tabs = bar->count();
            dialog->close();
        });
        demo.OpenModal();
        QCOMPARE(title, QString("Variable List Editor"));
        QCOMPARE(tabs, 2);
        QVERIFY(demo.Log()->toPlainText().contains("Modal dialog closed."));
    }

    void modelessDialogIsOneAtATime()
    {
        DemoWindow demo;
        QVERIFY(demo.IsReady());
        demo.show();
        demo.OpenModeless();
        QWidget* first = demo.Modeless();
        QVERIFY(first);
        QCOMPARE(first->windowTitle(), QString("Variable List Editor"));
        demo.OpenModeless();
        QCOMPARE(demo.Modeless(), first);
        first->close();
        QTRY_VERIFY(demo.Modeless() == nullptr);
        demo.OpenModeless();
        QVERIFY(demo.Modeless());
    }

private:
    std::optional<RegistrySandbox> registry;
    void* module = nullptr;
};

QTEST_MAIN(DemoEndToEndTest)
#include "DemoEndToEndTest.moc"
