// QuilletDemo: a small client of the variable storage component.  It hands
// the component two variable lists and opens the "Variables editor" as a
// modal dialog, a modeless dialog or a child control of its own window.
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTabBar>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

#include "demo/DemoWindow.h"
#include "platform/com/ComRuntime.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CoInitialize(nullptr);
    int code = 0;
    {
        DemoWindow window;
        if (!window.IsReady()) {
            QMessageBox::critical(nullptr, "Quillet demo", QString::fromStdString(window.ErrorText()));
            code = 1;
        } else {
            window.show();
            if (app.arguments().contains("--control")) window.ToggleControl();
            if (app.arguments().contains("--modeless")) window.OpenModeless();
            // "--tab NAME" and "--group NAME" select that tab and group in
            // every editor shown, for scripted tours and screenshots.
            const int tabAt = int(app.arguments().indexOf("--tab"));
            if (tabAt > 0 && tabAt + 1 < app.arguments().size()) {
                const QString name = app.arguments()[tabAt + 1];
                QTimer::singleShot(200, [name] {
                    for (QWidget* top : QApplication::topLevelWidgets())
                        for (QTabBar* bar : top->findChildren<QTabBar*>())
                            for (int i = 0; i < bar->count(); ++i)
                                if (bar->tabText(i) == name) bar->setCurrentIndex(i);
                });
            }
            const int at = int(app.arguments().indexOf("--group"));
            if (at > 0 && at + 1 < app.arguments().size()) {
                const QString group = app.arguments()[at + 1];
                QTimer::singleShot(300, [group] {
                    for (QWidget* top : QApplication::topLevelWidgets())
                        for (QTreeWidget* tree : top->findChildren<QTreeWidget*>()) {
                            const auto items = tree->findItems(group, Qt::MatchExactly | Qt::MatchRecursive);
                            if (!tree->isVisible() || items.isEmpty()) continue;
                            for (QTreeWidgetItem* p = items.front()->parent(); p; p = p->parent()) p->setExpanded(true);
                            tree->setCurrentItem(items.front());
                        }
                });
            }
            // "--click NAME" clicks the value cell of that row of the list.
            const int clickAt = int(app.arguments().indexOf("--click"));
            if (clickAt > 0 && clickAt + 1 < app.arguments().size()) {
                const QString row = app.arguments()[clickAt + 1];
                QTimer::singleShot(600, [row] {
                    for (QWidget* top : QApplication::topLevelWidgets())
                        for (QTreeWidget* list : top->findChildren<QTreeWidget*>()) {
                            const auto items = list->findItems(row, Qt::MatchExactly);
                            if (!list->isVisible() || list->isHeaderHidden() || items.isEmpty()) continue;
                            const QPointF at = list->visualItemRect(items.front()).center();
                            const QPointF cell(list->header()->sectionViewportPosition(1) + 10, at.y());
                            const QPointF global = list->viewport()->mapToGlobal(cell);
                            QMouseEvent press(QEvent::MouseButtonPress, cell, global, Qt::LeftButton, Qt::LeftButton, {});
                            QMouseEvent release(QEvent::MouseButtonRelease, cell, global, Qt::LeftButton, {}, {});
                            QApplication::sendEvent(list->viewport(), &press);
                            QApplication::sendEvent(list->viewport(), &release);
                        }
                });
            }
            code = app.exec();
        }
    }
    CoFreeUnusedLibraries();
    CoUninitialize();
    return code;
}
