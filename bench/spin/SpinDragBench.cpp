// Drags the popup slider of the float variable "flow|inflow|angle" of the
// demo client up and down and measures, for every mouse move, the time until
// the demo client's callback runs (it applies the value and writes a log
// line), and until the move has been handled completely.  The component is
// the registered module, reached by class id as the demo reaches it.
//
//   spin_bench [moves]      (default 2000; QT_QPA_PLATFORM=offscreen or a display)
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include "demo/DemoWindow.h"
#include "platform/com/ClassFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

QTreeWidget* Visible(QWidget* editor, bool headerShown)
{
    for (QTreeWidget* t : editor->findChildren<QTreeWidget*>())
        if (t->isVisible() && t->isHeaderHidden() != headerShown) return t;
    return nullptr;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

int Fail(const char* why)
{
    std::fprintf(stderr, "spin_bench: %s\n", why);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    QApplication app(argc, argv);

    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
    const std::string registry = mkdtemp(pattern.data());
    setenv("COMREGISTRY_DIR", registry.c_str(), 1);
    void* module = dlopen(QUILLET_MODULE, RTLD_NOW);
    if (!module) return Fail(dlerror());
    auto reg = reinterpret_cast<DllRegisterServerFunction>(dlsym(module, "DllRegisterServer"));
    if (!reg || reg() != S_OK) return Fail("the component module did not register");

    int result = 0;
    {
        DemoWindow demo;
        if (!demo.IsReady()) return Fail(demo.ErrorText().c_str());
        demo.resize(1000, 700);
        demo.show();
        if (!QTest::qWaitForWindowExposed(&demo)) return Fail("the window never showed");
        demo.ToggleControl();
        QWidget* editor = demo.Control();
        if (!editor) return Fail("no editor control");
        auto* tabs = editor->findChild<QTabBar*>();
        for (int i = 0; tabs && i < tabs->count(); ++i)
            if (tabs->tabText(i) == "Scene") QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        QTreeWidget* tree = Visible(editor, false);
        QTreeWidgetItem* inflow = tree ? FindItem(tree, "inflow") : nullptr;
        if (!inflow) return Fail("no group \"inflow\"");
        inflow->parent()->setExpanded(true);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(inflow).center());
        QTreeWidget* list = Visible(editor, true);
        QTreeWidgetItem* angle = list ? FindItem(list, "angle") : nullptr;
        if (!angle) return Fail("no variable \"angle\"");
        const QRect cell = list->visualRect(list->indexFromItem(angle, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());

        QPushButton* popupButton = nullptr;
        for (QPushButton* b : list->viewport()->findChildren<QPushButton*>())
            if (b->isVisible() && b->text() == "...") popupButton = b;
        if (!popupButton) return Fail("the float editor did not open");

        // The callback writes one log line: that is the moment it runs.
        Clock::time_point reached{};
        QObject::connect(demo.Log()->document(), &QTextDocument::contentsChanged,
                         [&] {
                             if (reached == Clock::time_point{}) reached = Clock::now();
                         });

        QTest::mousePress(popupButton, Qt::LeftButton, {}, QPoint(3, 3));
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) return Fail("the popup slider did not open");
        const int callbacksBefore = demo.CallbackCount();
        std::vector<double> toCallback, handled;
        toCallback.reserve(size_t(moves));
        handled.reserve(size_t(moves));
        const int span = popup->height() - 4;
        int missed = 0;
        for (int i = 0; i < moves; ++i) {
            // Up and down over the whole slider, one pixel per move.
            const int phase = i % (2 * span);
            const int y = phase < span ? phase : 2 * span - phase;
            const int before = demo.CallbackCount();
            reached = {};
            const Clock::time_point start = Clock::now();
            QTest::mouseMove(popup, QPoint(5, y));
            const Clock::time_point done = Clock::now();
            const Clock::time_point called = reached;
            // Repaints of the row and the slider, as the event loop would do next.
            QCoreApplication::processEvents();
            if (demo.CallbackCount() == before || called == Clock::time_point{}) {
                ++missed;
                continue;
            }
            toCallback.push_back(std::chrono::duration<double, std::milli>(called - start).count());
            handled.push_back(std::chrono::duration<double, std::milli>(done - start).count());
        }
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, 0));

        std::printf("popup slider over float \"flow|inflow|angle\" (-90..90 step 0.5), %d moves, %d callbacks\n",
                    moves, demo.CallbackCount() - callbacksBefore);
        if (toCallback.empty()) return Fail("no move reached the callback");
        std::printf("move -> callback   median %.3f ms   p95 %.3f ms   max %.3f ms\n", Percentile(toCallback, 0.5),
                    Percentile(toCallback, 0.95), Percentile(toCallback, 1.0));
        std::printf("move handled       median %.3f ms   p95 %.3f ms   max %.3f ms\n", Percentile(handled, 0.5),
                    Percentile(handled, 0.95), Percentile(handled, 1.0));
        if (missed) std::printf("%d moves did not change the position\n", missed);
        result = Percentile(toCallback, 0.5) < 2.0 ? 0 : 2;
    }
    std::error_code ignored;
    std::filesystem::remove_all(registry, ignored);
    return result;
}
