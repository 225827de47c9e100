#include "platform/web/CanvasContext.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>

#include "gles/GlesLayerStart.h"
#include "platform/web/Page.h"

// The page hands the canvas over as an object, not a selector: it gets a
// name the html5 functions resolve.
EM_JS(void, qh_name_the_canvas, (), { specialHTMLTargets["!canvas"] = Module["canvas"]; });

namespace {

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;

// WebGL 2 has no buffer mapping (Emscripten's stand-in takes only one kind
// of access and complains at every other): callers that find no mapping
// copy their data instead.
void* noMapping(GLenum, GLintptr, GLsizeiptr, GLbitfield)
{
    return nullptr;
}

using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
using Finish = void (*)();
ReadPixels readPixels = nullptr;
Finish browserFinish = nullptr;

// WebGL's finish() returns before the drawing is done (the browser draws
// in another process); whoever asks for it (the warm-up, the benchmark's
// frame times) means the drawing done.  Reading a pixel waits for it.
void finishDrawing()
{
    browserFinish();
    unsigned char pixel[4];
    readPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

void* lookUp(const char* name)
{
    if (std::strcmp(name, "glMapBufferRange") == 0)
        return reinterpret_cast<void*>(&noMapping);
    if (std::strcmp(name, "glFinish") == 0) {
        readPixels = reinterpret_cast<ReadPixels>(emscripten_webgl_get_proc_address("glReadPixels"));
        browserFinish = reinterpret_cast<Finish>(emscripten_webgl_get_proc_address("glFinish"));
        return reinterpret_cast<void*>(&finishDrawing);
    }
    return emscripten_webgl_get_proc_address(name);
}

}  // namespace

bool createCanvasContext(int width, int height)
{
    qh_name_the_canvas();
    page::setCanvasSize(width, height);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    // The demo draws into a picture of its own (a framebuffer object) and
    // copies it to the canvas once per frame: the canvas needs no depth,
    // no alpha and no multisampling.
    attributes.alpha = false;
    attributes.depth = false;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = false;
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    context = emscripten_webgl_create_context("!canvas", &attributes);
    if (context <= 0) {
        std::fprintf(stderr, "quittenhain: the browser gives no WebGL 2 context (%d)\n", static_cast<int>(context));
        return false;
    }
    emscripten_webgl_make_context_current(context);
    return glesLayerStart(lookUp);
}

void makeCanvasContextCurrent()
{
    if (context > 0)
        emscripten_webgl_make_context_current(context);
}

void* webGlFunction(const char* name)
{
    if (std::strstr(name, "MapBuffer") != nullptr)
        return nullptr;
    return lookUp(name);
}
