#include "editor/values/VarPropsView.h"

#include "editor/CVarListView.h"
#include "editor/values/PropsView.h"
#include "storage/PropsVar.h"

CVarPropsView::CVarPropsView(CVarListView* list_) : CButtonCell(list_) {}

void CVarPropsView::Activate(CVar* var, CVarListView* list_)
{
    variable = var && var->GetType() == VARKIND_PROPS && dynamic_cast<CPropsVar*>(var) ? var : nullptr;
    Open(list_);
}

void CVarPropsView::On_Command(int id)
{
    if (id != ID_EDIT || !variable || !list)
        return;
    CPropsView dialog(static_cast<CPropsVar*>(variable), list->window());
    dialog.Run();
}
