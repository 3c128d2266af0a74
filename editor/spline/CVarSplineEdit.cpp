#include "editor/spline/CVarSplineEdit.h"

#include "editor/spline/CSplineView.h"
#include "editor/spline/DialogTemplate.h"
#include "editor/spline/VarWrapper.h"

CVarSplineEdit::CVarSplineEdit(CSpline2DVar* var, QWidget* parent)
    : QDialog(parent), m_wrapper(std::make_unique<VarWrapper>(var))
{
    setWindowTitle(QStringLiteral("Spline Editor"));
    ApplySplineDialogTemplate(this);
    On_InitDialog();
}

// The view goes first: it refers to the wrapper.
CVarSplineEdit::~CVarSplineEdit()
{
    delete m_view;
    m_view = nullptr;
}

void CVarSplineEdit::On_InitDialog()
{
    move(0, 0);
    resize(600, 600);
    m_view = new CSplineView(m_wrapper.get(), this);
    m_view->setGeometry(0, 0, 600, 600);
    m_view->setFont(font());
    m_view->show();
}

void CVarSplineEdit::On_Close() { done(0); }

void CVarSplineEdit::reject() { On_Close(); }
