// TImage: the model of a picture control in a window. It owns the bitmap it
// shows and keeps the bounds, visibility and parent that the desktop shell
// reads to display it; the shell feeds mouse events into its handlers.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Types.h"

#include <functional>

namespace quillon {

// Anything that can be the parent of an image control (the image window).
// The engine only passes the reference along; the shell gives it meaning.
class TImageParent {
public:
    virtual ~TImageParent() = default;
    // Called when a child image control changes what it shows.
    virtual void ImageChanged() {}
};

class TImage {
public:
    using MouseHandler = std::function<void(TMouseButton, TShiftState, int x, int y)>;
    using MoveHandler = std::function<void(TShiftState, int x, int y)>;

    TImage() = default;
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;

    Bitmap& PictureBitmap() { return bitmap_; }
    const Bitmap& PictureBitmap() const { return bitmap_; }
    Canvas& canvas() { return bitmap_.canvas(); }

    // When AutoSize is set, Width and Height follow the picture.
    bool AutoSize = false;
    bool Visible = true;
    TImageParent* Parent = nullptr;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return AutoSize ? bitmap_.Width() : width_; }
    int Height() const { return AutoSize ? bitmap_.Height() : height_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { left_ = v; }
    void SetTop(int v) { top_ = v; }
    void SetWidth(int v) { width_ = v; }
    void SetHeight(int v) { height_ = v; }

    // Tells the parent to repaint now.
    void Refresh();

    MouseHandler OnMouseDown;
    MouseHandler OnMouseUp;
    MoveHandler OnMouseMove;

    // Entry points for the shell's widget.
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) {
        if (OnMouseDown) OnMouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) {
        if (OnMouseUp) OnMouseUp(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) {
        if (OnMouseMove) OnMouseMove(s, x, y);
    }

private:
    Bitmap bitmap_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace quillon
