// The vertical popup slider of CSpinEdit.  It exists only while the mouse
// button that opened it is held: it holds the mouse, hides the cursor,
// moves the owner's position with every mouse move and, when the button is
// released, puts the cursor back where it was and goes away.  Its track
// grows with the range, up to one position per pixel for 240 positions;
// Shift makes a move ten times finer, Ctrl ten times coarser.
#pragma once

#include <QPoint>
#include <QWidget>

class CSpinEdit;

class CPopupTrackBar : public QWidget {
public:
    static constexpr int kWidth = 10;
    static constexpr int kHeight = 70;  // the shortest track
    static constexpr int kThumb = 4;
    // Ranges up to this many positions get a pixel for each.
    static constexpr int kMaxTrack = 240;

    // The popup's height for a range: kHeight, or longer for a range that
    // would otherwise move more than one position per pixel.
    static int HeightFor(int lo, int hi);

    // Opens the popup at (left, top) in screen coordinates for the owner's
    // range and position; cursor is where the cursor was when it opened.
    CPopupTrackBar(CSpinEdit* owner, int lo, int hi, int position, QPoint cursor, QPoint topLeft);
    ~CPopupTrackBar() override;

    int GetPos() const { return position; }
    double GetScale() const { return scale; }
    // The thumb's top, in client coordinates.
    int ThumbTop() const;
    // The position a client y stands for.
    int PositionAt(double y) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Ends the popup once: capture, owner, cursor, window.
    void Finish();
    void RecomputeScale();

    CSpinEdit* owner;
    int lo;
    int hi;
    int position;
    QPoint cursorAtOpen;
    int lastCursorY;  // screen y of the last move, first the thumb's
    // Where the slider stands in client pixels.  It follows the cursor
    // until a move with Shift or Ctrl; from then on it adds up the moves,
    // scaled, since the hidden cursor and the thumb part company.
    double trackY = 0;
    bool relative = false;
    double scale = 0;
    bool cursorHidden = false;
    bool finished = false;
};
