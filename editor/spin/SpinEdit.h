// A numeric input control: a text field, up-down arrows, a "..." button that
// opens a vertical popup slider, and an optional position bar under the
// text.  It keeps an integer position within an integer range; the text of a
// position and the position of a text are asked of the control itself
// through SEM_GETSTRING and SEM_GETVALUE, which a derived control answers to
// map positions onto other values.
#pragma once

#include <QFrame>
#include <QPointer>

#include "editor/spin/SpinMessages.h"
#include "platform/messages/MessageTarget.h"

class CCustomButton;
class CCustomEdit;
class CPopupTrackBar;
class CUpDown;

class CSpinEdit : public QFrame, public MessageTarget {
public:
    // rectangle is in the parent's coordinates; flags are SPIN_* bits.
    CSpinEdit(QWidget* parent, const QRect& rectangle, unsigned flags);
    ~CSpinEdit() override;

    void SetRange(int lo, int hi);
    void GetRange(int& lo, int& hi) const;
    // updateText also forces the change; no notification.
    void SetValue(int position, bool updateText);
    int GetValue() const { return pos; }
    bool GetReadOnly() const;
    void SetReadOnly(bool readOnly);
    // True for the control's own parts: button, arrows, text field, popup.
    bool IsChild(const QWidget* window) const;
    // Lays the parts out in a client area of width by height.
    void ResizeChildren(int width, int height);

    // The text field's text (set-text and get-text go to it).
    void SetText(const QString& text);
    QString GetText() const;

    unsigned GetFlags() const { return flags; }
    bool IsSuppressed() const { return suppressed; }
    CCustomEdit* GetEdit() const { return edit; }
    CCustomButton* GetButton() const { return button; }
    CUpDown* GetUpDown() const { return upDown; }
    // The open popup slider, or null.
    CPopupTrackBar* GetPopup() const;
    // The position bar, in the control's coordinates; empty without bit 2.
    QRect GetBarRect() const;

    bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Passed on by the parts.
    virtual void On_KeyDown(int key);
    // A part lost the focus to newFocus (null: to no widget of ours at all).
    virtual void On_KillFocus(QWidget* newFocus);
    // A part lost the focus: tells On_KillFocus where it went, unless it
    // went to the control itself.
    void On_PartKillFocus();
    void On_DeltaPos(int delta);
    // A click of an arrow (direction +1 or -1): one position; with Ctrl
    // ten; with Shift a tenth of one, through On_FineStep.
    void On_ArrowStep(int direction, Qt::KeyboardModifiers keys);
    // A tenth of a step.  A position is the finest a plain control knows,
    // so it moves one; a derived control whose positions stand for coarser
    // values moves the value itself.
    virtual void On_FineStep(int direction);
    void On_ShowPopup();
    void On_PopupStateChange(bool closed);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void _setValue(int p, bool updateText, bool force, bool notify);
    // Rewrites the text from SEM_GETSTRING of the position and selects it.
    void UpdateText();
    void NotifyParent();
    bool MayNotify() const { return !suppressed || (flags & SPIN_NOTIFYALWAYS); }
    int Clamp(int p) const;
    void RecomputeScale();
    int BarPosition(int x) const;

    CCustomButton* button = nullptr;
    CUpDown* upDown = nullptr;
    CCustomEdit* edit = nullptr;
    QPointer<CPopupTrackBar> popup;
    int lo = 0;
    int hi = 100;
    int pos = 0;
    bool dragging = false;
    bool suppressed = false;
    bool popupMoved = false;  // the open popup's slider changed pos
    unsigned flags;
    QRect barRect;
    double barScale = 0;
    bool settingValue = false;
};
