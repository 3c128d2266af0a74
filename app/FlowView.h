// The native window the flow picture is drawn into, the left part of the
// main window's client area.  Mouse presses go to the main window's
// handlers in client coordinates (the view starts at the client origin).
#pragma once

#include <functional>

#include <QWindow>

class FlowView : public QWindow {
public:
    // x to the right, y downwards from the top of the client area.
    using PressHandler = std::function<void(Qt::MouseButton button, int x, int y)>;
    // The pointer moved to (x, y), in the same coordinates; inside is false
    // once it has left the view.
    using HoverHandler = std::function<void(bool inside, int x, int y)>;

    FlowView();
    void SetPressHandler(PressHandler handler) { onPress = std::move(handler); }
    void SetHoverHandler(HoverHandler handler) { onHover = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    PressHandler onPress;
    HoverHandler onHover;
};
