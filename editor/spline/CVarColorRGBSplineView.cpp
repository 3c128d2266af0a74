#include "editor/spline/CVarColorRGBSplineView.h"

#include <QAbstractItemView>

#include "editor/CVarListView.h"
#include "editor/MouseGesture.h"
#include "editor/spline/CColorRGBSplineView.h"
#include "editor/spline/CVarColorRGBSplineEdit.h"
#include "storage/ColorRGBSplineVar.h"

CVarColorRGBSplineView::CVarColorRGBSplineView(CVarListView* list_) : CButtonCell(list_) {}

void CVarColorRGBSplineView::Activate(CVar* var, CVarListView* list_)
{
    variable =
        var && var->GetType() == VARKIND_COLORRGBSPLINE && dynamic_cast<CColorRGBSplineVar*>(var) ? var : nullptr;
    Open(list_);
}

void CVarColorRGBSplineView::On_Command(int id)
{
    if (id != ID_EDIT || !variable || !list) return;
    // The cell may be rebound while the dialog runs; keep these.
    CVar* var = variable;
    CVarListView* rows = list;
    {
        // Each drag or double click in the dialog is one change to undo.
        CMouseGesture gestures(rows->Gestures());
        CVarColorRGBSplineEdit dialog(static_cast<CColorRGBSplineVar*>(var), this);
        gestures.Watch(dialog.GetView());
        dialog.exec();
    }
    rows->SetSelectedValueText(var->AsString());
    rows->viewport()->update();
}
