#include "app/FrameReadback.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>

#include "platform/GlVersion.h"
#include "platform/OffscreenPicture.h"

// The buffer-object entry points, which opengl32.dll and libGL's 1.1
// headers do not give directly.
struct FrameReadback::Calls {
    PFNGLGENBUFFERSPROC genBuffers = nullptr;
    PFNGLDELETEBUFFERSPROC deleteBuffers = nullptr;
    PFNGLBINDBUFFERPROC bindBuffer = nullptr;
    PFNGLBUFFERDATAPROC bufferData = nullptr;
    // OpenGL ES has only the ranged mapping; older desktop contexts only
    // the whole-buffer one.  One of the two is set.
    PFNGLMAPBUFFERRANGEPROC mapBufferRange = nullptr;
    PFNGLMAPBUFFERPROC mapBuffer = nullptr;
    PFNGLUNMAPBUFFERPROC unmapBuffer = nullptr;

    const void* mapForReading(GLsizeiptr bytes) const
    {
        if (mapBufferRange != nullptr)
            return mapBufferRange(GL_PIXEL_PACK_BUFFER, 0, bytes, GL_MAP_READ_BIT);
        return mapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    }
};

namespace {

// Pixel pack buffers came with OpenGL 2.1 (or ARB_pixel_buffer_object
// before it) and OpenGL ES 3.0.  Asking the context matters: an entry
// point's address alone proves nothing (Mesa hands out dispatch stubs for
// any name).
bool hasPixelPackBuffers(const GlVersion& version)
{
    if (version.es)
        return version.atLeast(3, 0);
    return version.atLeast(2, 1) || hasGlExtension("GL_ARB_pixel_buffer_object");
}

// The core name, or the ARB extension's name of the same call.
template <typename Function>
bool lookUp(const FrameReadback::Lookup& lookup, Function& function, const char* name, const char* arbName)
{
    void* address = lookup(name);
    if (address == nullptr)
        address = lookup(arbName);
    function = reinterpret_cast<Function>(address);
    return function != nullptr;
}

std::unique_ptr<FrameReadback::Calls> pixelBufferCalls(const FrameReadback::Lookup& lookup)
{
    const GlVersion version = currentGlVersion();
    if (!lookup || !hasPixelPackBuffers(version))
        return nullptr;
    auto calls = std::make_unique<FrameReadback::Calls>();
    // The ranged mapping is core from OpenGL 3.0 and OpenGL ES 3.0.
    const bool mapping = version.atLeast(3, 0)
                             ? lookUp(lookup, calls->mapBufferRange, "glMapBufferRange", "glMapBufferRange")
                             : lookUp(lookup, calls->mapBuffer, "glMapBuffer", "glMapBufferARB");
    const bool complete = lookUp(lookup, calls->genBuffers, "glGenBuffers", "glGenBuffersARB") &&
                          lookUp(lookup, calls->deleteBuffers, "glDeleteBuffers", "glDeleteBuffersARB") &&
                          lookUp(lookup, calls->bindBuffer, "glBindBuffer", "glBindBufferARB") &&
                          lookUp(lookup, calls->bufferData, "glBufferData", "glBufferDataARB") && mapping &&
                          lookUp(lookup, calls->unmapBuffer, "glUnmapBuffer", "glUnmapBufferARB");
    return complete ? std::move(calls) : nullptr;
}

std::string hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", value);
    return text;
}

}  // namespace

FrameReadback::FrameReadback(const OffscreenPicture& picture, Lookup lookup, int inFlight)
    : picture_(picture), lookup_(std::move(lookup)), inFlight_(inFlight < 1 ? 1 : inFlight)
{
}

FrameReadback::~FrameReadback()
{
    // Frames still waiting are dropped: flush() is the way to keep them.
    // At the process's end the context may be gone before this object; the
    // buffers then went with it (without a context glGetString gives null).
    if (calls_ == nullptr || glGetString(GL_VERSION) == nullptr)
        return;
    for (const Slot& slot : waiting_)
        idle_.push_back(slot.buffer);
    if (!idle_.empty())
        calls_->deleteBuffers(static_cast<GLsizei>(idle_.size()), idle_.data());
}

void FrameReadback::start()
{
    started_ = true;
    calls_ = pixelBufferCalls(lookup_);
    if (calls_ == nullptr)
        return;
    const auto bytes = static_cast<GLsizeiptr>(picture_.width()) * picture_.height() * 4;
    idle_.resize(static_cast<std::size_t>(inFlight_));
    calls_->genBuffers(inFlight_, idle_.data());
    for (const unsigned buffer : idle_) {
        calls_->bindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        // Read by the CPU once, after the driver has written it: STREAM_READ.
        calls_->bufferData(GL_PIXEL_PACK_BUFFER, bytes, nullptr, GL_STREAM_READ);
    }
    calls_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

bool FrameReadback::read(std::uint64_t frame, const Deliver& deliver)
{
    if (!started_)
        start();
    if (calls_ == nullptr) {
        picture_.readPixels(memory_);
        return deliver({memory_.data(), picture_.width(), picture_.height(), frame});
    }
    if (idle_.empty() && !deliverOldest(deliver))
        return false;
    const Slot slot{idle_.back(), frame};
    idle_.pop_back();
    calls_->bindBuffer(GL_PIXEL_PACK_BUFFER, slot.buffer);
    picture_.readPixelsTo(nullptr);   // offset 0 in the bound buffer
    // Unbound at once: any other glReadPixels reads into memory as before.
    calls_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    waiting_.push_back(slot);
    return static_cast<int>(waiting_.size()) < inFlight_ || deliverOldest(deliver);
}

bool FrameReadback::flush(const Deliver& deliver)
{
    while (!waiting_.empty())
        if (!deliverOldest(deliver))
            return false;
    return true;
}

bool FrameReadback::deliverOldest(const Deliver& deliver)
{
    const Slot slot = waiting_.front();
    waiting_.pop_front();
    calls_->bindBuffer(GL_PIXEL_PACK_BUFFER, slot.buffer);
    const void* bytes = calls_->mapForReading(static_cast<GLsizeiptr>(picture_.width()) * picture_.height() * 4);
    bool delivered = false;
    if (bytes != nullptr) {
        delivered = deliver({static_cast<const std::uint8_t*>(bytes), picture_.width(), picture_.height(), slot.frame});
        calls_->unmapBuffer(GL_PIXEL_PACK_BUFFER);
    } else {
        // The frame is gone with the mapping (the driver ran out of memory);
        // the caller must not carry on as if it had been written.
        failure_ = "cannot map the pixels of frame " + std::to_string(slot.frame) + " (OpenGL error 0x" +
                   hex(glGetError()) + ")";
    }
    calls_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    idle_.push_back(slot.buffer);
    return delivered;
}
