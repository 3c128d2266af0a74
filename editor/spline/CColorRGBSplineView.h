// The colour ramp editor: the gradient of a colour spline over [0, 1] with
// movable markers whose colours are chosen in the colour dialog.
#pragma once

#include <vector>

#include <QWidget>

#include "editor/spline/ColorRef.h"
#include "storage/api/GlobalVariableInfo.h"

class CColorRGBSplineView : public QWidget {
public:
    class IVar {
    public:
        virtual const std::vector<COLORRGBSPLINE_POINT>& GetValue() = 0;
        virtual void SetValue(const std::vector<COLORRGBSPLINE_POINT>& points) = 0;
        virtual ~IVar() = default;
    };

    // Pixels from position 0 to position 1.
    static constexpr int kRampWidth = 512;
    // A marker is picked within this many pixels.
    static constexpr int kPickDistance = 2;

    // Sizes its client area to 514 by 201, reads the variable and writes it
    // back sorted.
    CColorRGBSplineView(IVar* var, QWidget* parent);

    void Load(bool writeBack);
    void Change();

    const std::vector<COLORRGBSPLINE_POINT>& GetPoints() const { return m_points; }
    int GetDragIndex() const { return m_index; }

    // The ramp's colour at x; white for fewer than two markers.
    static COLORREF GetColor(const std::vector<COLORRGBSPLINE_POINT>& points, double x);

    void On_Paint();
    void On_LButtonDown(const QPoint& at);
    void On_MouseMove(const QPoint& at, bool buttonHeld);
    void On_ButtonUp();
    void On_LButtonDblClk(const QPoint& at);
    void On_RButtonDown(const QPoint& at);

protected:
    // Asks the user for a colour; false when cancelled.
    virtual bool ChooseColor(COLORREF initial, COLORREF* chosen);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int MarkerAt(int x) const;
    void Store();

    IVar* m_var;
    int m_index = -1;
    std::vector<COLORRGBSPLINE_POINT> m_points;
};
