// The two modal spline dialogs: titles, layout, the value written back on
// opening, and the close result.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>

#include "SplineTestSupport.h"
#include "editor/spline/CColorRGBSplineView.h"
#include "editor/spline/CSplineView.h"
#include "editor/spline/CVarColorRGBSplineEdit.h"
#include "editor/spline/CVarSplineEdit.h"

class SplineDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void splineEditorLayoutAndClose();
    void colorSplineEditorLayoutAndClose();
};

void SplineDialogsTest::splineEditorLayoutAndClose()
{
    auto var = MakeSplineVar({{0, 0, 1, 1}, {2, 1, 1, 1}}, -10, 10, -10, 10);
    RecordingListener listener;
    var->Init(GUID_NULL, &listener);
    QWidget owner;
    CVarSplineEdit dialog(var.get(), &owner);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Spline Editor"));
    QCOMPARE(listener.calls, 1);
    QCOMPARE(dialog.GetView()->geometry(), QRect(0, 0, 600, 600));
    QCOMPARE(dialog.pos(), QPoint(0, 0));
    int result = -1;
    QTimer::singleShot(0, [&] {
        QVERIFY(dialog.isVisible());
        // The curve editor draws the picture: the curve is blue somewhere.
        const QImage img = dialog.GetView()->grab().toImage();
        bool blue = false;
        for (int x = 0; x < img.width() && !blue; x += 2)
            for (int y = 0; y < img.height() && !blue; ++y) blue = img.pixel(x, y) == qRgb(0, 0, 255);
        QVERIFY(blue);
        dialog.close();
    });
    dialog.setResult(-1);
    result = dialog.exec();
    QCOMPARE(result, 0);
    QCOMPARE(var->GetPoints().size(), size_t(2));
}

void SplineDialogsTest::colorSplineEditorLayoutAndClose()
{
    auto var = MakeColorSplineVar({{1, 1, 1, 1}, {0, 0, 0, 0}});
    RecordingListener listener;
    var->Init(GUID_NULL, &listener);
    CVarColorRGBSplineEdit dialog(var.get(), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Color RGB Spline Editor"));
    QCOMPARE(dialog.GetView()->geometry(), QRect(0, 0, 514, 201));
    QVERIFY(dialog.width() >= 514 && dialog.height() >= 201);
    // Opening writes the value back sorted.
    QCOMPARE(listener.calls, 1);
    QCOMPARE(var->GetPoints()[0].pos, 0.0);
    QTimer::singleShot(0, [&] {
        const QImage img = dialog.grab().toImage();
        QCOMPARE(QColor(img.pixel(100, 10)), QColor(128, 128, 128));
        const COLORREF c = CColorRGBSplineView::GetColor(var->GetPoints(), 50 / 255.0);
        QCOMPARE(QColor(img.pixel(100, 100)), QColor(ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c)));
        dialog.reject();
    });
    QCOMPARE(dialog.exec(), 0);
}

QTEST_MAIN(SplineDialogsTest)
#include "SplineDialogsTest.moc"
