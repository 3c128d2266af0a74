#include "editor/spline/DialogTemplate.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

QSize DialogUnitsToPixels(const QDialog* dialog, int width, int height)
{
    const QFontMetrics fm(dialog->font());
    const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (fm.horizontalAdvance(sample) / 26 + 1) / 2;
    const int baseY = fm.height();
    return QSize(width * baseX / 4, height * baseY / 8);
}

void ApplySplineDialogTemplate(QDialog* dialog)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    dialog->setFont(font);
    dialog->setSizeGripEnabled(false);
    dialog->resize(DialogUnitsToPixels(dialog, 490, 303));
    const QWidget* parent = dialog->parentWidget();
    QRect area;
    if (parent) area = parent->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    if (area.isValid()) {
        QRect r(QPoint(0, 0), dialog->size());
        r.moveCenter(area.center());
        dialog->move(r.topLeft());
    }
}
