#include "editor/CVarRow.h"

#include <cstring>

#include "editor/CKindImageList.h"
#include "editor/CVarListView.h"
#include "storage/Var.h"

CVarRow::CVarRow(CVar* var_, bool fullName_, const CKindImageList* images_)
    : var(var_), fullName(fullName_), images(images_)
{
}

QVariant CVarRow::data(int column, int role) const
{
    if (role == Qt::DisplayRole) {
        switch (column) {
        case CVarListView::COL_NAME: {
            const char* name = var->GetName();
            const char* bar = fullName ? nullptr : std::strrchr(name, '|');
            return QString::fromUtf8(bar ? bar + 1 : name);
        }
        case CVarListView::COL_VALUE: return QString::fromUtf8(var->AsString());
        case CVarListView::COL_DESCRIPTION: return QString::fromUtf8(var->GetDescription());
        default: break;
        }
    }
    if (column == CVarListView::COL_NAME) {
        if (role == Qt::DecorationRole && images) return images->Icon(var->GetType());
        if (role == Qt::UserRole) return QVariant::fromValue<void*>(var);
    }
    return QTreeWidgetItem::data(column, role);
}
