// The drawing layer of the curve editor: it maps a world rectangle onto the
// viewport of its window and draws points, segments and text in either
// space.  The picture is kept off screen and redrawn only after ReDraw.
#pragma once

#include "editor/spline/ColorRef.h"
#include "geometry/Rectangle.h"
#include "geometry/Segment.h"

class QPainter;
class QWidget;

class CDrawer {
public:
    // Pen styles in the numbering the callers use.
    enum PenStyle { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5 };

    explicit CDrawer(QWidget* window) : m_window(window) {}
    CDrawer(const CDrawer&) = delete;
    CDrawer& operator=(const CDrawer&) = delete;

    virtual ~CDrawer() = default;
    virtual void BeginDraw() = 0;
    // Schedules a repaint of the whole window that draws the picture anew.
    virtual void ReDraw();
    virtual void EndDraw() = 0;
    virtual void SetColor(COLORREF colour, int width, int style) = 0;
    // Components in [0, 1].
    virtual void SetColor(double red, double green, double blue, int width, int style);
    virtual void Draw(const cg::point_2& at, const char* text);
    virtual void Draw(const cg::segment_2& segment);
    virtual void Draw(const cg::point_2& at);
    virtual void DrawIndirect(const cg::point_2& at, const char* text) = 0;
    virtual void DrawIndirect(const cg::segment_2& segment) = 0;
    virtual void DrawIndirect(const cg::point_2& at) = 0;
    // The painter of the picture while drawing, else null.
    virtual QPainter* GetDC() = 0;
    virtual void SetWindow(const cg::rectangle_2& window);
    virtual void On_Resize() = 0;

    cg::point_2 Transform(const cg::point_2& world) const;
    cg::point_2 UnTransform(const cg::point_2& pixel) const;
    const cg::rectangle_2& GetWindow() const { return m_windowRect; }
    const cg::rectangle_2& GetViewport() const { return m_viewport; }
    void SetViewport(const cg::rectangle_2& viewport) { m_viewport = viewport; }
    bool Updated() const { return m_needsRedraw; }

protected:
    QWidget* m_window;
    cg::rectangle_2 m_windowRect;
    cg::rectangle_2 m_viewport;
    bool m_needsRedraw = true;
    bool m_drawing = false;
};
