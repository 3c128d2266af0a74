// One row of the variable list.  It reads what it shows from its variable
// whenever the view asks, so that a value changed anywhere is on screen at
// the next paint, and a row costs no text until it is painted: a filter on
// a large tab makes thousands of rows at each keystroke.
#pragma once

#include <QTreeWidgetItem>

class CKindImageList;
class CVar;

class CVarRow : public QTreeWidgetItem {
public:
    // fullName: the name column shows the whole path, not only the last part.
    CVarRow(CVar* var, bool fullName, const CKindImageList* images);

    CVar* Var() const { return var; }
    QVariant data(int column, int role) const override;

private:
    CVar* var;
    bool fullName;
    const CKindImageList* images;
};
