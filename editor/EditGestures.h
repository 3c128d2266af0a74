// Brackets the changes that one user gesture makes (a slider drag, a drag
// in a curve editor, a group reset, an import), so that undo takes them
// back together.  The editor window implements it; its tree and list views
// and the value editors reach it through the list view.
#pragma once

class CEditGestures {
public:
    virtual void BeginGesture() = 0;
    virtual void EndGesture() = 0;

protected:
    ~CEditGestures() = default;
};

// Holds one gesture open for as long as it lives; a null target does nothing.
class CGestureScope {
public:
    explicit CGestureScope(CEditGestures* target) : target(target)
    {
        if (target) target->BeginGesture();
    }
    ~CGestureScope()
    {
        if (target) target->EndGesture();
    }
    CGestureScope(const CGestureScope&) = delete;
    CGestureScope& operator=(const CGestureScope&) = delete;

private:
    CEditGestures* target;
};
