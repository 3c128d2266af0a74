// The modal "Color RGB Spline Editor" dialog: the colour ramp editor over a
// colour spline variable.
#pragma once

#include <memory>

#include <QDialog>

class CColorRGBSplineVar;
class CColorRGBSplineView;
class VarWrapper2;

class CVarColorRGBSplineEdit : public QDialog {
public:
    CVarColorRGBSplineEdit(CColorRGBSplineVar* var, QWidget* parent);
    ~CVarColorRGBSplineEdit() override;

    CColorRGBSplineView* GetView() const { return m_view; }

    void On_InitDialog();
    void On_Close();
    // Closing the window ends the dialog with 0.
    void reject() override;

private:
    std::unique_ptr<VarWrapper2> m_wrapper;
    CColorRGBSplineView* m_view = nullptr;  // a child; deleted with the dialog
};
