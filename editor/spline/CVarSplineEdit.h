// The modal "Spline Editor" dialog: the curve editor over a 2-D spline
// variable, 600 by 600 pixels at the top left of the screen.
#pragma once

#include <memory>

#include <QDialog>

class CSpline2DVar;
class CSplineView;
class VarWrapper;

class CVarSplineEdit : public QDialog {
public:
    CVarSplineEdit(CSpline2DVar* var, QWidget* parent);
    ~CVarSplineEdit() override;

    CSplineView* GetView() const { return m_view; }

    void On_InitDialog();
    void On_Close();
    // Closing the window ends the dialog with 0.
    void reject() override;

private:
    std::unique_ptr<VarWrapper> m_wrapper;
    CSplineView* m_view = nullptr;  // a child; deleted with the dialog
};
