// The colour ramp editor: GetColor, markers under the mouse, the colour
// dialog and the painted ramp.
#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>

#include "SplineTestSupport.h"
#include "editor/spline/CColorRGBSplineView.h"
#include "editor/spline/VarWrapper2.h"

namespace {

using Points = std::vector<COLORRGBSPLINE_POINT>;

// Answers the colour dialog without showing it.
class ScriptedView : public CColorRGBSplineView {
public:
    using CColorRGBSplineView::CColorRGBSplineView;
    bool answer = true;
    COLORREF reply = 0;
    COLORREF asked = 0;
    int dialogs = 0;

protected:
    bool ChooseColor(COLORREF initial, COLORREF* chosen) override
    {
        ++dialogs;
        asked = initial;
        if (answer) *chosen = reply;
        return answer;
    }
};

struct Fixture {
    explicit Fixture(const Points& points) : var(MakeColorSplineVar(points)), wrapper(var.get())
    {
        var->Init(GUID_NULL, &listener);
        view = std::make_unique<ScriptedView>(&wrapper, nullptr);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    const Points& Value() const { return var->GetPoints(); }

    RecordingListener listener;
    std::unique_ptr<CColorRGBSplineVar> var;
    VarWrapper2 wrapper;
    std::unique_ptr<ScriptedView> view;
};

void ExpectColor(COLORREF c, unsigned r, unsigned g, unsigned b)
{
    QCOMPARE(ColorRefRed(c), r);
    QCOMPARE(ColorRefGreen(c), g);
    QCOMPARE(ColorRefBlue(c), b);
}

const Points kBlackToWhite{{0, 0, 0, 0}, {1, 1, 1, 1}};

}  // namespace

class ColorRGBSplineViewTest : public QObject {
    Q_OBJECT
private slots:
    void getColorInterpolatesBetweenNeighbours();
    void getColorOfDegenerateRampsIsDefined();
    void openingSizesTheRampAndWritesBackSorted();
    void dragMovesTheMarker();
    void doubleClickKeepsTheGradient();
    void rightClickChoosesAColour();
    void theSystemColourDialog();
    void paintedRamp();
};

void ColorRGBSplineViewTest::getColorInterpolatesBetweenNeighbours()
{
    ExpectColor(CColorRGBSplineView::GetColor(kBlackToWhite, 0.5), 127, 127, 127);
    ExpectColor(CColorRGBSplineView::GetColor(kBlackToWhite, 0), 0, 0, 0);
    ExpectColor(CColorRGBSplineView::GetColor(kBlackToWhite, 1), 255, 255, 255);
    const Points rgb{{0, 1, 0, 0}, {0.5, 0, 1, 0}, {1, 0, 0, 1}};
    ExpectColor(CColorRGBSplineView::GetColor(rgb, 0.25), 127, 127, 0);
    ExpectColor(CColorRGBSplineView::GetColor(rgb, 0.75), 0, 127, 127);
    ExpectColor(CColorRGBSplineView::GetColor(rgb, 0.5), 0, 255, 0);
    // Beyond the ends the end colours hold.
    ExpectColor(CColorRGBSplineView::GetColor(rgb, -3), 255, 0, 0);
    ExpectColor(CColorRGBSplineView::GetColor(rgb, 7), 0, 0, 255);
}

void ColorRGBSplineViewTest::getColorOfDegenerateRampsIsDefined()
{
    ExpectColor(CColorRGBSplineView::GetColor({}, 0.5), 255, 255, 255);
    ExpectColor(CColorRGBSplineView::GetColor({{0.5, 0, 0, 0}}, 0.5), 255, 255, 255);
    // Two markers at one place: a step, no division by zero.
    const Points step{{0.5, 0, 0, 0}, {0.5, 1, 1, 1}};
    ExpectColor(CColorRGBSplineView::GetColor(step, 0.5), 0, 0, 0);
    ExpectColor(CColorRGBSplineView::GetColor(step, 0.25), 0, 0, 0);
    ExpectColor(CColorRGBSplineView::GetColor(step, 0.5000001), 255, 255, 255);
    // Components outside [0, 1] and NaN still give bytes.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Points wild{{0, 2, -1, nan}, {1, 2, -1, nan}};
    ExpectColor(CColorRGBSplineView::GetColor(wild, 0.5), 255, 0, 0);
}

void ColorRGBSplineViewTest::openingSizesTheRampAndWritesBackSorted()
{
    Fixture f({{0.75, 1, 0, 0}, {0.25, 0, 1, 0}});
    QCOMPARE(f.view->size(), QSize(514, 201));
    QCOMPARE(f.listener.calls, 1);
    QCOMPARE(f.Value().size(), size_t(2));
    QCOMPARE(f.Value()[0].pos, 0.25);
    QCOMPARE(f.Value()[1].pos, 0.75);
    QCOMPARE(f.view->GetPoints()[0].g, 1.0);
}

void ColorRGBSplineViewTest::dragMovesTheMarker()
{
    Fixture f({{0.25, 1, 0, 0}, {0.75, 0, 0, 1}});
    Press(f.view.get(), QPoint(130, 100));  // within 2 pixels of 128
    QCOMPARE(f.view->GetDragIndex(), 0);
    Move(f.view.get(), QPoint(300, 100), Qt::LeftButton);
    QCOMPARE(f.Value()[0].pos, 300 / 512.0);
    QCOMPARE(f.Value()[0].r, 1.0);
    // Past the neighbour: the grabbed (red) marker keeps moving.
    Move(f.view.get(), QPoint(450, 100), Qt::LeftButton);
    Move(f.view.get(), QPoint(460, 100), Qt::LeftButton);
    QCOMPARE(f.Value()[0].pos, 0.75);
    QCOMPARE(f.Value()[0].b, 1.0);
    QCOMPARE(f.Value()[1].pos, 460 / 512.0);
    QCOMPARE(f.Value()[1].r, 1.0);
    // Dragged off the window the marker stops at the end of the ramp.
    Move(f.view.get(), QPoint(900, 100), Qt::LeftButton);
    QCOMPARE(f.Value()[1].pos, 1.0);
    Release(f.view.get(), QPoint(900, 100));
    QCOMPARE(f.view->GetDragIndex(), -1);
    // A press away from every marker grabs nothing.
    const int calls = f.listener.calls;
    Press(f.view.get(), QPoint(200, 100));
    QCOMPARE(f.view->GetDragIndex(), -1);
    Move(f.view.get(), QPoint(220, 100), Qt::LeftButton);
    QCOMPARE(f.listener.calls, calls);
}

void ColorRGBSplineViewTest::doubleClickKeepsTheGradient()
{
    Fixture f({{0, 0.1, 0.5, 0.9}, {1, 0.9, 0.2, 0.3}});
    const Points before = f.Value();
    DoubleClick(f.view.get(), QPoint(200, 100));
    QCOMPARE(f.Value().size(), size_t(3));
    QCOMPARE(f.Value()[1].pos, 200 / 512.0);
    for (int i = 0; i < 255; ++i) {
        const COLORREF a = CColorRGBSplineView::GetColor(before, i / 255.0);
        const COLORREF b = CColorRGBSplineView::GetColor(f.Value(), i / 255.0);
        QVERIFY(std::abs(int(ColorRefRed(a)) - int(ColorRefRed(b))) <= 1);
        QVERIFY(std::abs(int(ColorRefGreen(a)) - int(ColorRefGreen(b))) <= 1);
        QVERIFY(std::abs(int(ColorRefBlue(a)) - int(ColorRefBlue(b))) <= 1);
    }
    // The new marker's channels are whole bytes.
    QCOMPARE(std::fmod(f.Value()[1].r * 255, 1.0) < 1e-9 || std::fmod(f.Value()[1].r * 255, 1.0) > 1 - 1e-9, true);
    DoubleClick(f.view.get(), QPoint(201, 100));
    QCOMPARE(f.Value().size(), size_t(2));
    QCOMPARE(f.Value()[1].pos, 1.0);
}

void ColorRGBSplineViewTest::rightClickChoosesAColour()
{
    Fixture f({{0, 0.5, 0.25, 1}, {1, 1, 1, 1}});
    f.view->reply = MakeColorRef(10, 20, 30);
    Press(f.view.get(), QPoint(1, 100), Qt::RightButton);
    QCOMPARE(f.view->dialogs, 1);
    QCOMPARE(f.view->asked, MakeColorRef(127, 63, 255));
    QCOMPARE(f.Value()[0].r, 10 / 255.0);
    QCOMPARE(f.Value()[0].g, 20 / 255.0);
    QCOMPARE(f.Value()[0].b, 30 / 255.0);
    const int calls = f.listener.calls;
    f.view->answer = false;
    Press(f.view.get(), QPoint(511, 100), Qt::RightButton);
    QCOMPARE(f.view->dialogs, 2);
    QCOMPARE(f.listener.calls, calls);
    QCOMPARE(f.Value()[1].g, 1.0);
    // Away from the markers no dialog opens.
    Press(f.view.get(), QPoint(256, 100), Qt::RightButton);
    QCOMPARE(f.view->dialogs, 2);
}

void ColorRGBSplineViewTest::theSystemColourDialog()
{
    auto var = MakeColorSplineVar({{0, 0, 0, 0}, {1, 1, 1, 1}});
    VarWrapper2 wrapper(var.get());
    QWidget owner;
    CColorRGBSplineView view(&wrapper, &owner);
    owner.show();
    QColor initial;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        initial = dialog->currentColor();
        dialog->setCurrentColor(QColor(40, 50, 60));
        dialog->accept();
    });
    Press(&view, QPoint(512, 100), Qt::RightButton);
    QCOMPARE(initial, QColor(255, 255, 255));
    QCOMPARE(var->GetPoints()[1].b, 60 / 255.0);
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) static_cast<QDialog*>(dialog)->reject();
    });
    Press(&view, QPoint(0, 100), Qt::RightButton);
    QCOMPARE(var->GetPoints()[0].r, 0.0);
}

void ColorRGBSplineViewTest::paintedRamp()
{
    Fixture f({{0, 0, 0, 1}, {0.5, 1, 0, 0}, {1, 0, 1, 0}});
    const QImage img = f.view->grab().toImage();
    const QColor grey(128, 128, 128);
    QCOMPARE(QColor(img.pixel(100, 10)), grey);
    QCOMPARE(QColor(img.pixel(100, 199)), grey);
    for (int i : {5, 60, 126, 200, 254}) {
        const COLORREF c = CColorRGBSplineView::GetColor(f.Value(), i / 255.0);
        const QColor expected(ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c));
        QCOMPARE(QColor(img.pixel(2 * i, 100)), expected);
        QCOMPARE(QColor(img.pixel(2 * i + 1, 50)), expected);
        QCOMPARE(QColor(img.pixel(2 * i + 1, 149)), expected);
    }
    // Markers: three black columns over the full height.
    for (int x : {255, 256, 257, 0, 1, 511, 512, 513}) {
        QCOMPARE(QColor(img.pixel(x, 0)), QColor(Qt::black));
        QCOMPARE(QColor(img.pixel(x, 120)), QColor(Qt::black));
        QCOMPARE(QColor(img.pixel(x, 199)), QColor(Qt::black));
    }
    QVERIFY(QColor(img.pixel(254, 120)) != QColor(Qt::black));
    QVERIFY(QColor(img.pixel(258, 120)) != QColor(Qt::black));
}

QTEST_MAIN(ColorRGBSplineViewTest)
#include "ColorRGBSplineViewTest.moc"
