#include "editor/spin/SpinEdit.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "editor/spin/CustomButton.h"
#include "editor/spin/CustomEdit.h"
#include "editor/spin/PopupTrackBar.h"
#include "editor/spin/UpDown.h"
#include "platform/messages/MessageDispatch.h"

namespace {

// Width of a horizontal scroll bar's arrow, the unit of the control's
// button and arrows.
int ArrowWidth(const QWidget* widget) { return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget); }

}  // namespace

CSpinEdit::CSpinEdit(QWidget* parent, const QRect& rectangle, unsigned flags_) : QFrame(parent), flags(flags_)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    // Laid over a list's cell: the row must not show between the parts.
    setAutoFillBackground(true);
    setGeometry(rectangle);
    setFocusPolicy(Qt::StrongFocus);

    if (flags & SPIN_POPUPBUTTON)
        button = new CCustomButton(this);
    if (flags & SPIN_UPDOWN)
        upDown = new CUpDown(this);
    edit = new CCustomEdit(this);
    // The text field takes the focus the control receives.
    setFocusProxy(edit);
    edit->setText(QString::number(pos));

    RecomputeScale();
    ResizeChildren(contentsRect().width(), contentsRect().height());
    show();
}

CSpinEdit::~CSpinEdit()
{
    // The parts talk to this control, in particular when they lose the
    // focus on their way out: they go while it is still whole.
    delete popup.data();
    setFocusProxy(nullptr);
    delete edit;
    edit = nullptr;
    delete button;
    button = nullptr;
    delete upDown;
    upDown = nullptr;
}

int CSpinEdit::Clamp(int p) const
{
    if (p > hi)
        p = hi;
    if (p < lo)
        p = lo;
    return p;
}

void CSpinEdit::_setValue(int p, bool updateText, bool force, bool notify)
{
    if (settingValue)
        return;
    if (p == pos && !force)
        return;
    settingValue = true;
    const int before = pos;
    pos = Clamp(p);
    if (popup && pos != before)
        popupMoved = true;
    if (updateText)
        UpdateText();
    update(barRect);
    // Still inside the change: what the parent does on hearing of it cannot
    // start another one.
    if (notify && MayNotify())
        NotifyParent();
    settingValue = false;
}

void CSpinEdit::UpdateText()
{
    char text[kSpinTextBuffer] = {};
    SendMessage(this, SEM_GETSTRING, static_cast<WPARAM>(static_cast<intptr_t>(pos)), reinterpret_cast<LPARAM>(text));
    text[kSpinTextBuffer - 1] = 0;
    edit->setText(QString::fromUtf8(text));
    // Selecting all leaves the caret at the end, scrolled into view.
    edit->selectAll();
}

void CSpinEdit::NotifyParent()
{
    SendMessage(parentWidget(), SEN_CHANGED, reinterpret_cast<WPARAM>(static_cast<QWidget*>(this)), pos);
}

void CSpinEdit::SetRange(int lo_, int hi_)
{
    if (lo_ == lo && hi_ == hi)
        return;
    lo = lo_;
    hi = hi_;
    RecomputeScale();
    update(barRect);
}

void CSpinEdit::GetRange(int& lo_, int& hi_) const
{
    lo_ = lo;
    hi_ = hi;
}

void CSpinEdit::SetValue(int position, bool updateText) { _setValue(position, updateText, updateText, false); }

bool CSpinEdit::GetReadOnly() const { return edit->isReadOnly(); }

void CSpinEdit::SetReadOnly(bool readOnly) { edit->setReadOnly(readOnly); }

bool CSpinEdit::IsChild(const QWidget* window) const
{
    // Every part descends from the control, the popup window too (it
    // counts from the moment it is made, before it is announced).
    for (const QWidget* w = window ? window->parentWidget() : nullptr; w; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

void CSpinEdit::SetText(const QString& text) { edit->setText(text); }

QString CSpinEdit::GetText() const { return edit->text(); }

void CSpinEdit::ResizeChildren(int width, int height)
{
    const QPoint origin = contentsRect().topLeft();
    const int s = ArrowWidth(this);
    int right = width;
    if (button) {
        right = width - s;
        button->setGeometry(origin.x() + right, origin.y(), s + 1, height + 1);
    }
    if (upDown) {
        right -= s;
        upDown->setGeometry(origin.x() + right, origin.y(), s + 1, height + 1);
    }
    if (right < 0)
        right = 0;
    const int textHeight = (flags & SPIN_POSITIONBAR) ? height - 4 : height;
    edit->setGeometry(origin.x(), origin.y(), right, textHeight > 0 ? textHeight : 0);
    if (flags & SPIN_POSITIONBAR)
        barRect = QRect(origin.x(), origin.y() + height - 3, right, 3);
    else
        barRect = QRect();
    RecomputeScale();
    update();
}

CPopupTrackBar* CSpinEdit::GetPopup() const { return popup.data(); }

QRect CSpinEdit::GetBarRect() const { return barRect; }

void CSpinEdit::RecomputeScale()
{
    // An empty range has no width per unit; the bar then shows nothing
    // filled and every click lands on lo.
    barScale = hi > lo ? static_cast<double>(barRect.width()) / (static_cast<double>(hi) - lo) : 0.0;
}

int CSpinEdit::BarPosition(int x) const
{
    if (barScale <= 0)
        return lo;
    return lo + static_cast<int>(x / barScale);
}

bool CSpinEdit::OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (id == SEM_GETPOS) {
        result = pos;
    } else if (id == SEM_SETPOS) {
        _setValue(static_cast<int>(lParam), !(wParam & SETPOS_KEEPTEXT), (wParam & SETPOS_FORCE) != 0,
                  (wParam & SETPOS_NOTIFY) != 0);
    } else if (id == SEM_GETRANGE) {
        if (auto* out = reinterpret_cast<int*>(wParam))
            *out = lo;
        if (auto* out = reinterpret_cast<int*>(lParam))
            *out = hi;
    } else if (id == SEM_SETRANGE) {
        SetRange(static_cast<int>(static_cast<intptr_t>(wParam)), static_cast<int>(lParam));
    } else if (id == SEM_GETREADONLY) {
        result = GetReadOnly() ? 1 : 0;
    } else if (id == SEM_SETREADONLY) {
        SetReadOnly(wParam != 0);
    } else if (id == SEM_SHOWPOPUP) {
        On_ShowPopup();
    } else if (id == SEM_POPUPSTATECHANGE) {
        On_PopupStateChange(wParam != 0);
    } else if (id == SEM_GETSTRING) {
        if (auto* text = reinterpret_cast<char*>(lParam))
            std::snprintf(text, kSpinTextBuffer, "%d", static_cast<int>(static_cast<intptr_t>(wParam)));
    } else if (id == SEM_GETVALUE) {
        const char* text = reinterpret_cast<const char*>(lParam);
        result = text ? std::atoi(text) : 0;
    } else {
        return false;
    }
    return true;
}

void CSpinEdit::On_KeyDown(int key)
{
    if (key == Qt::Key_Up && pos < hi)
        _setValue(pos + 1, true, false, false);
    else if (key == Qt::Key_Down && pos > lo)
        _setValue(pos - 1, true, false, false);
}

void CSpinEdit::On_KillFocus(QWidget*) {}

void CSpinEdit::On_PartKillFocus()
{
    // An open popup has the keyboard without being the focus widget, and
    // where the window system makes it the active window no widget has the
    // focus at all: the popup is where the focus went.
    QWidget* popupNow = QApplication::activePopupWidget();
    QWidget* newFocus = popupNow ? popupNow : QApplication::focusWidget();
    if (newFocus != this)
        On_KillFocus(newFocus);
}

void CSpinEdit::On_DeltaPos(int delta)
{
    if (delta == 0 || settingValue)
        return;
    settingValue = true;
    // Widened so that a step beyond the int limits clamps instead of wrapping.
    const long long target = static_cast<long long>(pos) + delta;
    pos = static_cast<int>(target > hi ? hi : target < lo ? lo : target);
    UpdateText();
    update(barRect);
    if (MayNotify())
        NotifyParent();
    settingValue = false;
}

void CSpinEdit::On_ArrowStep(int direction, Qt::KeyboardModifiers keys)
{
    keys &= Qt::ShiftModifier | Qt::ControlModifier;
    if (keys == Qt::ShiftModifier)
        On_FineStep(direction);
    else
        On_DeltaPos(keys == Qt::ControlModifier ? 10 * direction : direction);
}

void CSpinEdit::On_FineStep(int direction) { On_DeltaPos(direction); }

void CSpinEdit::On_ShowPopup()
{
    if (popup || !button)
        return;
    const QPoint cursor = QCursor::pos();
    const QRect buttonRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    const int height = CPopupTrackBar::HeightFor(lo, hi);
    int top = cursor.y() - height / 2;
    // Kept on the screen: a track beyond its edge could not be reached.
    if (const QScreen* screen = QGuiApplication::screenAt(cursor)) {
        const QRect area = screen->availableGeometry();
        top = std::max(area.top(), std::min(top, area.bottom() + 1 - height));
    }
    const QPoint topLeft(buttonRect.x() + buttonRect.width() + 4, top);
    popup = new CPopupTrackBar(this, lo, hi, pos, cursor, topLeft);
    if (popup)
        popup->grabMouse();
}

void CSpinEdit::On_PopupStateChange(bool closed)
{
    if (!closed) {
        suppressed = true;
        popupMoved = false;
        return;
    }
    suppressed = false;
    popup = nullptr;
    if (button)
        button->setDown(false);
    // A popup opened and let go without moving the slider changes nothing;
    // telling the parent would write the position's value, which for a
    // mapped value is a rounded form of the one the parent holds.
    if (popupMoved)
        NotifyParent();
    edit->setFocus(Qt::OtherFocusReason);
}

void CSpinEdit::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    edit->setFocus(event->reason());
}

void CSpinEdit::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    ResizeChildren(contentsRect().width(), contentsRect().height());
}

void CSpinEdit::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        ResizeChildren(contentsRect().width(), contentsRect().height());
}

void CSpinEdit::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!(flags & SPIN_POSITIONBAR) || barRect.isEmpty())
        return;
    QPainter painter(this);
    const QPalette& colours = palette();
    const int filled = static_cast<int>((static_cast<double>(pos) - lo) * barScale);
    const QRect inner = barRect.adjusted(0, 1, -1, 0);
    painter.fillRect(inner, colours.color(QPalette::Button));
    if (filled > 0)
        painter.fillRect(QRect(inner.left(), inner.top(), std::min(filled, inner.width()), inner.height()),
                         colours.color(QPalette::Active, QPalette::Highlight));
    // Raised outer and sunken inner top edge, sunken outer right edge.
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(barRect.left(), barRect.top(), barRect.right(), barRect.top());
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(barRect.left(), barRect.top() + 1, barRect.right() - 1, barRect.top() + 1);
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(barRect.right(), barRect.top(), barRect.right(), barRect.bottom());
}

void CSpinEdit::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !(flags & SPIN_POSITIONBAR) || !barRect.contains(at)) {
        QFrame::mousePressEvent(event);
        return;
    }
    _setValue(BarPosition(at.x() - barRect.left()), true, true, false);
    grabMouse();
    dragging = true;
    suppressed = true;
}

void CSpinEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    int x = event->position().toPoint().x() - barRect.left();
    if (x < 0)
        x = 0;
    if (x > barRect.width())
        x = barRect.width();
    _setValue(BarPosition(x), true, true, false);
}

void CSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging || event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    releaseMouse();
    dragging = false;
    suppressed = false;
    NotifyParent();
}
