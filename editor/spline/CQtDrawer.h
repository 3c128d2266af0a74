// The drawer of the curve editor on Qt: an off-screen image of the viewport
// that is drawn only when ReDraw flagged a change and copied to the window
// on every paint.
#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>

#include "editor/spline/CDrawer.h"

class CQtDrawer : public CDrawer {
public:
    // Radius of a dot in pixels.
    static constexpr int kDotRadius = 5;

    explicit CQtDrawer(QWidget* window);
    ~CQtDrawer() override;

    void BeginDraw() override;
    void EndDraw() override;
    void SetColor(COLORREF colour, int width, int style) override;
    using CDrawer::SetColor;
    void DrawIndirect(const cg::point_2& at, const char* text) override;
    void DrawIndirect(const cg::segment_2& segment) override;
    void DrawIndirect(const cg::point_2& at) override;
    QPainter* GetDC() override;
    void On_Resize() override;

    // The last picture drawn.
    const QImage& GetImage() const { return m_image; }

private:
    void ApplyTools();

    QImage m_image;
    QPainter m_painter;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    int m_ascent = 0;
};
