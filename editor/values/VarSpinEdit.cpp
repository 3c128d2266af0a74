#include "editor/values/VarSpinEdit.h"

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

#include "editor/CVarListView.h"
#include "editor/EditGestures.h"
#include "editor/spin/CustomEdit.h"
#include "platform/messages/Beep.h"
#include "platform/messages/MessageDispatch.h"

namespace {

// A double as a position, saturated at the int limits.
int ToPosition(double p)
{
    if (std::isnan(p))
        return 0;
    if (p >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (p <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(p);
}

}  // namespace

CVarSpinEdit::CVarSpinEdit(CVarListView* list_)
    : CSpinEdit(list_->EditorParent(), QRect(), SPIN_UPDOWN | SPIN_POPUPBUTTON | SPIN_NOTIFYALWAYS), list(list_)
{
    hide();
    connect(GetEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        pendingText = text;
        pending = true;
    });
    parentHook.Install(parentWidget(), [this](UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (id != SEN_CHANGED || reinterpret_cast<QWidget*>(wParam) != this)
            return false;
        On_Changed(static_cast<int>(lParam));
        result = 0;
        return true;
    });
}

CVarSpinEdit::~CVarSpinEdit()
{
    // A window taken down in the middle of a drag leaves no gesture open.
    if (dragGesture)
        dragGesture->EndGesture();
}

bool CVarSpinEdit::IsReal() const
{
    return variable && (variable->GetType() == VARKIND_DOUBLE || variable->GetType() == VARKIND_FLOAT);
}

double CVarSpinEdit::Minimum() const { return variable->MinNumber(); }

double CVarSpinEdit::Maximum() const { return variable->MaxNumber(); }

double CVarSpinEdit::Step() const
{
    const double step = variable->StepNumber();
    if (step > 0 && std::isfinite(step))
        return step;
    // A client that gives no usable step still gets a usable control: a
    // hundred steps over its range.
    const double span = Maximum() - Minimum();
    return span > 0 && std::isfinite(span) ? span / 100.0 : 1.0;
}

void CVarSpinEdit::Activate(CVar* var, CVarListView* list_)
{
    list = list_;
    variable = nullptr;
    pending = false;
    const int kind = var ? var->GetType() : -1;
    // The factory makes a number variable only for a record of its own kind.
    auto* number = dynamic_cast<CNumberVar*>(var);
    if (number && kind == VARKIND_INT) {
        variable = number;
        Resize();
        SetRange(static_cast<int>(number->MinNumber()), static_cast<int>(number->MaxNumber()));
        SetValue(static_cast<int>(number->Number()), true);
    } else if (number && (kind == VARKIND_DOUBLE || kind == VARKIND_FLOAT)) {
        variable = number;
        Resize();
        const double value = number->Number();
        SetRange(0, ToPosition(std::ceil((Maximum() - Minimum()) / Step())));
        SendMessage(this, SEM_SETPOS, SETPOS_KEEPTEXT, ToPosition(std::ceil((value - Minimum()) / Step())));
        char text[kSpinTextBuffer];
        std::snprintf(text, sizeof text, "%f", value);
        SetText(QString::fromUtf8(text));
        GetEdit()->selectAll();
    }
    show();
    raise();
    GetEdit()->setFocus(Qt::MouseFocusReason);
}

void CVarSpinEdit::Resize()
{
    if (!list)
        return;
    const int row = list->SelectedRow();
    if (row >= 0)
        setGeometry(list->GetValueCellRect(row));
}

bool CVarSpinEdit::OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (IsReal() && id == SEM_GETSTRING) {
        const int position = static_cast<int>(static_cast<intptr_t>(wParam));
        if (auto* text = reinterpret_cast<char*>(lParam))
            std::snprintf(text, kSpinTextBuffer, "%f", Minimum() + Step() * position);
        result = 0;
        return true;
    }
    if (IsReal() && id == SEM_GETVALUE) {
        const char* text = reinterpret_cast<const char*>(lParam);
        double value = text ? std::atof(text) : 0.0;
        if (variable->GetType() == VARKIND_FLOAT)
            value = static_cast<float>(value);
        // std::round takes halves away from zero.
        result = ToPosition(std::round((value - Minimum()) / Step()));
        return true;
    }
    if (id == SEM_POPUPSTATECHANGE) {
        // One drag of the slider is one change, the position it writes as
        // it closes included.
        if (wParam == 0 && !dragGesture && list && (dragGesture = list->Gestures()))
            dragGesture->BeginGesture();
        const bool handled = CSpinEdit::OnRegisteredMessage(id, wParam, lParam, result);
        if (wParam != 0 && dragGesture)
            std::exchange(dragGesture, nullptr)->EndGesture();
        return handled;
    }
    return CSpinEdit::OnRegisteredMessage(id, wParam, lParam, result);
}

void CVarSpinEdit::On_Changed(int position)
{
    if (!variable || !list)
        return;
    char text[kSpinTextBuffer];
    switch (variable->GetType()) {
    case VARKIND_INT: {
        const int32_t value = position;
        variable->SetValue(&value, 4);
        std::snprintf(text, sizeof text, "%d", value);
        break;
    }
    case VARKIND_DOUBLE: {
        const double value = position * Step() + Minimum();
        variable->SetValue(&value, 8);
        std::snprintf(text, sizeof text, "%f", value);
        break;
    }
    case VARKIND_FLOAT: {
        const float value = static_cast<float>(position * Step() + Minimum());
        variable->SetValue(&value, 4);
        std::snprintf(text, sizeof text, "%f", double(value));
        break;
    }
    default:
        return;
    }
    // The written value replaces whatever was typed.
    pending = false;
    list->SetSelectedValueText(text);
}

void CVarSpinEdit::On_FineStep(int direction)
{
    if (!IsReal() || !list) {
        CSpinEdit::On_FineStep(direction);
        return;
    }
    const bool isDouble = variable->GetType() == VARKIND_DOUBLE;
    double value = variable->Number();
    // A typed value is where the user means to go on from.
    if (pending)
        value = std::atof(pendingText.toUtf8().left(kSpinTextMax).constData());
    if (!(value >= Minimum()))
        value = Minimum();
    if (value > Maximum())
        value = Maximum();
    // To the next tenth of a step from the minimum, so that steps from a
    // value between two tenths land on the grid.
    const double fine = Step() / 10;
    const double at = (value - Minimum()) / fine;
    const double next = direction > 0 ? std::floor(at + 1e-9) + 1 : std::ceil(at - 1e-9) - 1;
    // Limits too far apart to count tenths between them: a tenth from the value.
    const double stepped =
        std::isfinite(at) && std::abs(at) < 1e15 ? Minimum() + next * fine : value + direction * fine;
    double target = std::clamp(stepped, Minimum(), Maximum());
    if (!isDouble)
        target = static_cast<float>(target);
    const double current = variable->Number();
    char text[kSpinTextBuffer];
    std::snprintf(text, sizeof text, "%f", target);
    pending = false;
    SendMessage(this, SEM_SETPOS, SETPOS_KEEPTEXT, ToPosition(std::round((target - Minimum()) / Step())));
    SetText(QString::fromUtf8(text));
    GetEdit()->selectAll();
    if (target == current)
        return;
    StoreReal(target);
    list->SetSelectedValueText(text);
}

void CVarSpinEdit::StoreReal(double value)
{
    if (variable->GetType() == VARKIND_DOUBLE) {
        variable->SetValue(&value, 8);
    } else {
        const float single = static_cast<float>(value);
        variable->SetValue(&single, 4);
    }
}

void CVarSpinEdit::On_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        On_Enter();
        return;
    }
    if (key == Qt::Key_Escape) {
        Discard();
        BackToList();
        return;
    }
    const int before = GetValue();
    CSpinEdit::On_KeyDown(key);
    // The arrow keys step without writing: the step waits like typed text.
    if (variable && GetValue() != before) {
        pendingText = GetText();
        pending = true;
    }
}

void CVarSpinEdit::On_Enter()
{
    if (!variable || !list || Write(GetText()))
        BackToList();
}

bool CVarSpinEdit::Commit()
{
    if (!pending || !variable || !list)
        return true;
    if (Write(pendingText))
        return true;
    // Refused: the editor stays with what was typed, ready to be corrected.
    SetText(pendingText);
    return false;
}

void CVarSpinEdit::Discard() { pending = false; }

bool CVarSpinEdit::Write(const QString& entered)
{
    char text[kSpinTextBuffer];
    if (IsReal()) {
        const QByteArray typed = entered.toUtf8().left(kSpinTextMax);
        double value = std::atof(typed.constData());
        if (variable->GetType() == VARKIND_FLOAT)
            value = static_cast<float>(value);
        // Not a number lies within no limits either.
        if (!(value >= Minimum() && value <= Maximum())) {
            MessageBeep();
            return false;
        }
        if (value != variable->Number())
            StoreReal(value);
        std::snprintf(text, sizeof text, "%f", value);
    } else if (variable->GetType() == VARKIND_INT) {
        const int32_t value = GetValue();
        if (value != variable->Number())
            variable->SetValue(&value, 4);
        std::snprintf(text, sizeof text, "%d", value);
    } else {
        return true;
    }
    pending = false;
    list->SetSelectedValueText(text);
    return true;
}

void CVarSpinEdit::BackToList()
{
    // The list hides the editor by taking the focus; the editor also goes
    // when the list cannot take it (a window that is not active).
    if (list)
        list->setFocus(Qt::OtherFocusReason);
    hide();
}

void CVarSpinEdit::On_KillFocus(QWidget* newFocus)
{
    if (newFocus == this || IsChild(newFocus))
        return;
    // Into the list, the list commits: it also knows which click moved the focus.
    if (list && newFocus && (newFocus == list || list->isAncestorOf(newFocus)))
        return;
    if (Commit())
        hide();
}
