#include "parts/PendingParts.h"

#include <GL/gl.h>

namespace {

void clearAndFlush()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
}

}  // namespace

void part4Frame(int) { clearAndFlush(); }
void part7Frame(int) { clearAndFlush(); }
void part10And11Frame(int, int) { clearAndFlush(); }
