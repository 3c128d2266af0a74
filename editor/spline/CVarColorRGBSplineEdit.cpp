#include "editor/spline/CVarColorRGBSplineEdit.h"

#include "editor/spline/CColorRGBSplineView.h"
#include "editor/spline/DialogTemplate.h"
#include "editor/spline/VarWrapper2.h"

CVarColorRGBSplineEdit::CVarColorRGBSplineEdit(CColorRGBSplineVar* var, QWidget* parent)
    : QDialog(parent), m_wrapper(std::make_unique<VarWrapper2>(var))
{
    setWindowTitle(QStringLiteral("Color RGB Spline Editor"));
    ApplySplineDialogTemplate(this);
    On_InitDialog();
}

// The view goes first: it refers to the wrapper.
CVarColorRGBSplineEdit::~CVarColorRGBSplineEdit()
{
    delete m_view;
    m_view = nullptr;
}

void CVarColorRGBSplineEdit::On_InitDialog()
{
    // The view sizes itself to its ramp when it is created.
    m_view = new CColorRGBSplineView(m_wrapper.get(), this);
    m_view->move(0, 0);
    m_view->show();
}

void CVarColorRGBSplineEdit::On_Close() { done(0); }

void CVarColorRGBSplineEdit::reject() { On_Close(); }
