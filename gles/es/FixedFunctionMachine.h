#pragma once

#include <GL/gl.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gles/DisplayLists.h"
#include "gles/FixedFunctionState.h"
#include "gles/GlesLayerStart.h"
#include "gles/MatrixStack.h"
#include "gles/es/EsFunctions.h"
#include "gles/es/Renderer.h"

// The size and format a texture was given, which OpenGL ES 3.0 cannot be
// asked for.
struct TextureLevel {
    GLint width = 0;
    GLint height = 0;
    GLint internalFormat = 0;
};

class FixedFunctionMachine;

// What the six calls that gather a primitive (glBegin, glEnd, glVertex,
// glNormal, glColor, glTexCoord) may do.  They only add to what is
// gathered: neither the state nor the driver is reachable from here, so
// none of them can change what the primitives gathered but not yet drawn
// will look like.
class Gathering {
public:
    void begin(GLenum mode);
    void vertex(float x, float y, float z, float w);
    void end();
    void setNormal(float x, float y, float z);
    void setColour(float r, float g, float b, float a);
    void setTexCoord(float s, float t);

private:
    friend class FixedFunctionMachine;
    explicit Gathering(FixedFunctionMachine& layer) : layer_(layer) {}
    FixedFunctionMachine& layer_;
};

// The whole fixed-function machine behind the entry points: state, matrix
// stacks, the primitive being gathered, display lists and the renderer.
// Calls that a display list records go through here, so that recording
// and replaying share one path.
//
// Consecutive glBegin/glEnd pairs of one kind are gathered and drawn
// together, as the driver batches them.  So that no call can slip in
// between and change or read the picture under a gathered batch, there are
// only two ways in: current() for every entry point but the six gathering
// ones, which draws the batch first, and gathering() for those six, which
// reaches nothing that could change it.
class FixedFunctionMachine final : public ListExecutor {
public:
    // The layer with everything gathered so far drawn.
    static FixedFunctionMachine& current();
    static Gathering gathering();
    // Replaces the layer with a fresh one for a newly current context.
    static bool start(GlesProcLookup lookup);

    FixedFunctionState state;
    AttributeStack attributes;
    MatrixStack modelview{32};
    MatrixStack projection{4};
    MatrixStack textureMatrix{4};
    DisplayLists lists;
    std::unordered_map<GLuint, TextureLevel> textures;

    // The driver, for the calls that pass through to it.
    const EsFunctions& driver() const { return esDriver; }

    // OpenGL's error flag: the first error stays until read.
    void fail(GLenum error);
    GLenum takeError();

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

    // glPushClientAttrib / glPopClientAttrib: the pixel pack and unpack
    // alignments, on a stack as deep as OpenGL's least (16).  Past it the
    // push is refused with GL_STACK_OVERFLOW.
    void pushClientAttributes();
    void popClientAttributes();

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

    // The shader programs kept for this context.
    std::size_t shaderPrograms() const { return renderer_.programCount(); }

    void execute(const ListCommand& command) override;
    void draw(const DisplayList& list, const ListDraw& listDraw) override;

private:
    friend class Gathering;
    FixedFunctionMachine() = default;
    static FixedFunctionMachine& get();
    DrawState drawState() const;
    void drawPending();
    void endInPlace();
    void appendAssembled();
    void record(ListCommand::Kind kind, GLenum target, GLuint name, const float* values, int count);

    Renderer renderer_;
    GLenum error_ = GL_NO_ERROR;
    bool insideBegin_ = false;
    GLenum mode_ = GL_POINTS;
    Fill fill_ = Fill::Polygons;   // as the state said at glBegin
    // A primitive whose assembly only drops an incomplete last piece, or
    // which is drawn through indices, is gathered straight into pending_,
    // from primitiveStart_ on; any other into primitive_, and assembled
    // into pending_ at glEnd.
    bool gatheredInPlace_ = false;
    std::size_t primitiveStart_ = 0;
    std::vector<Vertex> primitive_;
    // Assembled primitives not yet drawn, all drawn as pendingAs_.
    std::vector<Vertex> pending_;
    DrawnAs pendingAs_ = DrawnAs::Nothing;
    // Once a strip, fan, quad, polygon or line strip joins a batch, the
    // batch is drawn through indices into pending_ (every complete
    // primitive's), so each vertex is sent once.
    bool pendingIndexed_ = false;
    std::vector<std::uint32_t> pendingIndices_;
    std::vector<Vertex> expanded_;   // an indexed batch of wide lines, segment by segment
    // The attributes as the list being recorded set them (kTakenAtReplay
    // until it does).
    Vertex recordingCurrent_{};
    // A list's draw completed with the attributes current at replay.
    std::vector<Vertex> completed_;
    std::vector<std::array<GLint, 2>> clientAttributes_;
    std::uint64_t transformStamp_ = 0;
    std::uint64_t appearanceStamp_ = 0;
    std::uint64_t sizesStamp_ = 0;
};
