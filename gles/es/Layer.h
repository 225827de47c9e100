#pragma once

#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gles/DisplayLists.h"
#include "gles/FixedFunctionState.h"
#include "gles/GlesLayer.h"
#include "gles/MatrixStack.h"
#include "gles/es/Renderer.h"

// The size and format a texture was given, which OpenGL ES 3.0 cannot be
// asked for.
struct TextureLevel {
    GLint width = 0;
    GLint height = 0;
    GLint internalFormat = 0;
};

// The whole fixed-function machine behind the entry points: state, matrix
// stacks, the primitive being gathered, display lists and the renderer.
// Calls that a display list records go through here, so that recording
// and replaying share one path.
class Layer final : public ListExecutor {
public:
    static Layer& get();
    // The layer with the primitives gathered so far drawn: every call but
    // those that only add vertices goes through this, since any other call
    // may change what they look like or read what they drew.
    static Layer& settled();
    // Replaces the layer with a fresh one for a newly current context.
    static bool start(GlesProcLookup lookup);

    FixedFunctionState state;
    AttributeStack attributes;
    MatrixStack modelview{32};
    MatrixStack projection{4};
    MatrixStack textureMatrix{4};
    DisplayLists lists;
    std::unordered_map<GLuint, TextureLevel> textures;
    // glPushClientAttrib: the pixel pack and unpack alignments.
    std::vector<std::array<GLint, 2>> clientAttributes;

    // OpenGL's error flag: the first error stays until read.
    void fail(GLenum error);
    GLenum takeError();

    // glBegin ... glEnd and the current vertex attributes.
    bool insideBegin() const { return insideBegin_; }
    void begin(GLenum mode);
    void vertex(float x, float y, float z, float w);
    void end();
    void setNormal(float x, float y, float z);
    void setColour(float r, float g, float b, float a);
    void setTexCoord(float s, float t);

    // The calls display lists record: executed, or recorded while a list
    // is being compiled.
    void enable(GLenum capability, bool on);
    void material(GLenum face, GLenum name, const float* values);
    void bindTexture(GLenum target, GLuint texture);
    void texParameter(GLenum target, GLenum name, GLint value);
    void polygonMode(GLenum face, GLenum mode);
    void callList(GLuint list);
    void pushMatrix();
    void popMatrix();
    void newList(GLuint list, GLenum mode);
    void endList();
    void deleteLists(GLuint first, GLsizei range);

    // A call OpenGL would compile into the list being recorded, which this
    // layer does not record: reported, and true so the caller does nothing.
    bool refusedInList(const char* call);

    MatrixStack& currentStack();
    void matrixChanged() { ++transformStamp_; }
    void appearanceChanged() { ++appearanceStamp_; }
    void sizesChanged() { ++sizesStamp_; }

    // Puts the driver's own state (blending, depth, viewport, ...) back to
    // what `state` says, after glPopAttrib.
    void restoreDriverState();

    void execute(const ListCommand& command) override;
    void draw(const DisplayList& list, const ListDraw& listDraw) override;

private:
    Layer() = default;
    DrawState drawState() const;
    void drawPending();
    void record(ListCommand::Kind kind, GLenum target, GLuint name, const float* values, int count);

    Renderer renderer_;
    GLenum error_ = GL_NO_ERROR;
    bool insideBegin_ = false;
    GLenum mode_ = GL_POINTS;
    std::vector<Vertex> primitive_;
    std::vector<Vertex> assembled_;
    // Assembled primitives not yet drawn: consecutive glBegin/glEnd pairs
    // of one kind with no other call between are drawn together, as the
    // driver batches them.
    std::vector<Vertex> pending_;
    DrawnAs pendingAs_ = DrawnAs::Nothing;
    Vertex recordingCurrent_{};   // the attributes as the list being recorded set them
    unsigned recordingKnown_ = 0;
    std::uint64_t transformStamp_ = 0;
    std::uint64_t appearanceStamp_ = 0;
    std::uint64_t sizesStamp_ = 0;
};
