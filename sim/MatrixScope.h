// Scope that keeps the caller's projection and model-view matrices: drawing
// into a target of its own must leave the caller's drawing set-up as it was.
// Include after a GL header.
#pragma once

class MatrixScope {
public:
    MatrixScope()
    {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~MatrixScope()
    {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    MatrixScope(const MatrixScope&) = delete;
    MatrixScope& operator=(const MatrixScope&) = delete;
};
