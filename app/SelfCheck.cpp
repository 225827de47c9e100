#include "app/SelfCheck.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/DrawingLayer.h"
#include "platform/SystemServices.h"

namespace {

struct Checks {
    std::uint64_t frames = 0;
    std::uint64_t firstErrorFrame = 0;
    GLenum firstError = GL_NO_ERROR;
    long lists = -1;
    bool listsChanged = false;
    long baselineKb = -1;
    long largestKb = 0;
};
Checks checks;

// Display list names come in ascending order from 1; a scan past the
// highest one seen so far finds every live list.
long liveDisplayLists()
{
    static GLuint highest = 0;
    long live = 0;
    const GLuint end = highest + 4096;
    for (GLuint name = 1; name <= end; ++name) {
        if (glIsList(name)) {
            ++live;
            highest = std::max(highest, name);
        }
    }
    return live;
}

constexpr bool kMemoryIsMeaningful =
#if defined(__SANITIZE_ADDRESS__)
    false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    false;
#else
    true;
#endif
#else
    true;
#endif

void checkFrame(std::uint64_t frame)
{
    checks.frames = frame + 1;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR && checks.firstError == GL_NO_ERROR) {
        checks.firstError = error;
        checks.firstErrorFrame = frame;
    }
    if (frame % 600 != 0)
        return;
    const long lists = liveDisplayLists();
    if (checks.lists < 0)
        checks.lists = lists;
    else if (lists != checks.lists)
        checks.listsChanged = true;
    const long kb = residentMemoryKb();
    if (frame >= 600 && checks.baselineKb < 0)
        checks.baselineKb = kb;   // after the first part's caches have filled
    checks.largestKb = std::max(checks.largestKb, kb);
}

void reportChecks()
{
    const double growthMb = checks.baselineKb < 0 ? 0.0 : (checks.largestKb - checks.baselineKb) / 1024.0;
    std::fprintf(stderr, "\nself-check: %llu frames; OpenGL errors: %s; display lists: %ld%s; memory growth: ",
                 static_cast<unsigned long long>(checks.frames),
                 checks.firstError == GL_NO_ERROR ? "none" : "YES",
                 checks.lists, checks.listsChanged ? " then CHANGED" : " throughout");
    if (kMemoryIsMeaningful)
        std::fprintf(stderr, "%.1f MB after the first 10 s\n", growthMb);
    else
        std::fprintf(stderr, "not measured under AddressSanitizer\n");
    const int programs = drawingLayerShaderPrograms();
    if (programs >= 0)
        std::fprintf(stderr, "self-check: the OpenGL ES layer keeps %d shader programs\n", programs);
    bool failed = false;
    if (checks.firstError != GL_NO_ERROR) {
        std::fprintf(stderr, "self-check: OpenGL error 0x%x after frame %llu\n", checks.firstError,
                     static_cast<unsigned long long>(checks.firstErrorFrame));
        failed = true;
    }
    if (checks.listsChanged) {
        std::fprintf(stderr, "self-check: the number of live display lists changed\n");
        failed = true;
    }
    if (kMemoryIsMeaningful && growthMb > 32.0) {
        std::fprintf(stderr, "self-check: memory grew by %.1f MB\n", growthMb);
        failed = true;
    }
    if (failed)
        std::_Exit(4);
    std::fprintf(stderr, "self-check: passed\n");
}

}  // namespace

void checkHeadlessRun(HeadlessRunOptions& options)
{
    options.everyFrame = checkFrame;
    options.atEnd = reportChecks;
}
