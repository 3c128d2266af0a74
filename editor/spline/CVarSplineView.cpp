#include "editor/spline/CVarSplineView.h"

#include <QAbstractItemView>

#include "editor/CVarListView.h"
#include "editor/MouseGesture.h"
#include "editor/spline/CSplineView.h"
#include "editor/spline/CVarSplineEdit.h"
#include "storage/Spline2DVar.h"

CVarSplineView::CVarSplineView(CVarListView* list_) : CButtonCell(list_) {}

void CVarSplineView::Activate(CVar* var, CVarListView* list_)
{
    variable = var && var->GetType() == VARKIND_SPLINE2D && dynamic_cast<CSpline2DVar*>(var) ? var : nullptr;
    Open(list_);
}

void CVarSplineView::On_Command(int id)
{
    if (id != ID_EDIT || !variable || !list) return;
    // The cell may be rebound while the dialog runs; keep these.
    CVar* var = variable;
    CVarListView* rows = list;
    {
        // Each drag or double click in the dialog is one change to undo.
        CMouseGesture gestures(rows->Gestures());
        CVarSplineEdit dialog(static_cast<CSpline2DVar*>(var), this);
        gestures.Watch(dialog.GetView());
        dialog.exec();
    }
    rows->SetSelectedValueText(var->AsString());
    rows->viewport()->update();
}
