#include <epoxy/gl.h>

#include "sim/DrawQuad.h"

void DrawQuad(const QuadRect& v, const QuadRect& t)
{
    glBegin(GL_QUADS);
    glTexCoord2d(t.x0, t.y0);
    glVertex2d(v.x0, v.y0);
    glTexCoord2d(t.x1, t.y0);
    glVertex2d(v.x1, v.y0);
    glTexCoord2d(t.x1, t.y1);
    glVertex2d(v.x1, v.y1);
    glTexCoord2d(t.x0, t.y1);
    glVertex2d(v.x0, v.y1);
    glEnd();
}
