// The curve editor: a zoomable, pannable plot of y = f(x) through the
// control points of a 2-D spline variable, with points and direction handles
// that the mouse moves, adds and removes.  Every edit is written back at once.
#pragma once

#include <memory>
#include <vector>

#include <QWidget>

#include "geometry/HermiteSplineF.h"
#include "geometry/Rectangle.h"
#include "storage/api/GlobalVariableInfo.h"

class CDrawer;

class CSplineView : public QWidget {
public:
    // What the view sees of the variable it edits.
    class IVar {
    public:
        virtual const std::vector<SPLINE2D_POINT>& GetValue() = 0;
        virtual void SetValue(const std::vector<SPLINE2D_POINT>& points) = 0;
        virtual ~IVar() = default;
        virtual double GetMinX() = 0;
        virtual double GetMaxX() = 0;
        virtual double GetMinY() = 0;
        virtual double GetMaxY() = 0;
    };

    enum DragMode { DRAG_NONE = 0, DRAG_POINT = 1, DRAG_HANDLE = 2, DRAG_PAN = 3 };
    // Pick radius of points and handles, in pixels.
    static constexpr double kHitRadius = 5;
    // World step at which the curve is sampled.
    static constexpr double kSampleStep = 0.025;

    // Reads the variable and writes the normalised value back once.
    CSplineView(IVar* var, QWidget* parent);
    ~CSplineView() override;

    void Load(bool resetView);
    void Change();

    const cg::HermiteSplineF<>& GetCurve() const { return m_curve; }
    const cg::rectangle_2& GetVisible() const { return m_visible; }
    void SetVisible(const cg::rectangle_2& visible);
    CDrawer* GetDrawer() const { return m_drawer.get(); }
    int GetDragMode() const { return m_mode; }
    int GetDragIndex() const { return m_index; }

    // The grid step for a visible extent: 10 to the power floor(log10(extent / 5)).
    static double GridStep(double extent);

    // Message handlers; the Qt events below call them.
    void On_Paint();
    void On_LButtonDown(const QPoint& at);
    void On_MouseMove(const QPoint& at, bool buttonHeld);
    void On_ButtonUp();
    void On_LButtonDblClk(const QPoint& at);
    void On_MouseWheel(bool forward);
    void On_Size();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Hit {
        int index = -1;
        int handle = 0;  // 0 the point itself, 1 at point - direction, 2 at point + direction
    };
    Hit HitTest(const QPoint& at, bool pointsOnly) const;
    cg::point_2 ToWorld(const QPoint& at) const;
    void DrawGrid();
    void DrawCurve();
    // The index of the control point nearest to p: a moved point may have
    // changed places with its neighbours.
    int NearestPoint(const cg::point_2& p) const;

    IVar* m_var;
    std::unique_ptr<CDrawer> m_drawer;
    int m_index = -1;
    cg::HermiteSplineF<> m_curve;
    cg::rectangle_2 m_visible;
    int m_mode = DRAG_NONE;
    int m_handle = 0;
    cg::rectangle_2 m_panRef;
    cg::rectangle_2 m_panStart;
    cg::point_2 m_panGrab;
    std::vector<SPLINE2D_POINT> m_out;  // reused by Change on every mouse move
};
