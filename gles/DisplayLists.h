#pragma once

#include <GL/gl.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "gles/ImmediateMode.h"
#include "gles/Vertex.h"

// One call recorded in a display list, replayed in order.
struct ListCommand {
    enum class Kind : std::uint8_t {
        Enable,        // target: the capability
        Disable,
        Material,      // target: face, name: parameter, values
        BindTexture,   // name: the texture
        TexParameter,  // target, name: parameter, values[0]: the value
        PolygonMode,   // target: face, name: mode
        Normal,        // values
        Colour,
        TexCoord,
        PushMatrix,    // of the matrix mode current at replay
        PopMatrix,
        CallList,      // name: the list
        Draw,          // draw: index into the list's draws
    };
    Kind kind;
    GLenum target = 0;
    GLuint name = 0;
    std::array<float, 4> values{};
    std::uint32_t draw = 0;
};

// Where one way of drawing a list's primitive lies in its vertices.
struct ListRange {
    DrawnAs drawnAs = DrawnAs::Nothing;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// One glBegin/glEnd inside a list, assembled once for each fill (filled,
// outlined, outlined under flat shading), because polygon mode and shade
// model are the ones current when the list is replayed.
struct ListDraw {
    unsigned attributes = 0;   // VertexAttributeBits the list set itself
    // Of those, the ones the list set only after some of the vertices: those
    // vertices take them from the state at replay, so the draw is completed
    // then instead of drawn from the list's buffer.
    unsigned takenAtReplay = 0;
    ListRange ranges[3];       // by Fill
    // The primitive's vertices as given, where the draw may be assembled
    // again at replay: when it is drawn as lines (wider ones are drawn as
    // bands made from the vertices) or completed at replay.  In the list's
    // `sources`; none kept when sourceCount is 0.
    GLenum mode = GL_TRIANGLES;
    std::uint32_t sourceFirst = 0;
    std::uint32_t sourceCount = 0;
    Vertex last{};             // gives the current attributes after the draw

    const ListRange& range(Fill fill) const { return ranges[static_cast<int>(fill)]; }
};

struct DisplayList {
    std::vector<ListCommand> commands;
    std::vector<ListDraw> draws;
    // Every draw's assembled vertices, until they are uploaded to `buffer`.
    std::vector<Vertex> vertices;
    unsigned buffer = 0;
    std::vector<Vertex> sources;   // see ListDraw::sourceFirst
};

// What replaying a list does with each command; the layer executes them
// against the real state, tests record them.
class ListExecutor {
public:
    virtual ~ListExecutor() = default;
    virtual void execute(const ListCommand& command) = 0;
    virtual void draw(const DisplayList& list, const ListDraw& draw) = 0;
};

// The names and contents of display lists, and the one being recorded.
class DisplayLists {
public:
    // glGenLists: `range` consecutive unused names, 0 when there are none.
    GLuint generate(GLsizei range);
    bool isList(GLuint name) const { return lists_.count(name) != 0; }
    std::size_t count() const { return lists_.size(); }
    // glDeleteLists: the vertex buffers of the lists removed, for the
    // caller to free.
    std::vector<unsigned> remove(GLuint first, GLsizei range);

    // glNewList (GL_COMPILE) and glEndList.  Recording into a name replaces
    // its list at the end; the replaced list's buffer is handed back.
    bool beginRecording(GLuint name);
    bool recording() const { return recording_; }
    void record(const ListCommand& command);
    // Adds a finished glBegin/glEnd; its vertices mark the attributes the
    // list had not set yet with kTakenAtReplay.  Consecutive primitives of a
    // mode made of separate pieces (triangles, quads, lines, points) become
    // one draw, as the driver merges them, when nothing but attributes the
    // vertices carry themselves was set between them: a model of one
    // glBegin per face is then one draw.
    void recordDraw(GLenum mode, const std::vector<Vertex>& vertices);
    DisplayList* endRecording(unsigned& replacedBuffer);

    DisplayList* find(GLuint name);

    // glCallList: runs the list's commands, lists called from it included,
    // up to the nesting depth OpenGL allows.  Unknown names do nothing.
    void replay(GLuint name, ListExecutor& executor, int depth = 0);

private:
    bool mergesWithOpenDraw(GLenum mode, unsigned attributes, unsigned takenAtReplay) const;
    void closeDraw();

    std::map<GLuint, DisplayList> lists_;
    bool recording_ = false;
    GLuint recordingName_ = 0;
    DisplayList current_;
    // The draw still open for merging: its mode, attributes and vertices
    // as given, assembled when it closes.
    bool drawOpen_ = false;
    GLenum openMode_ = GL_TRIANGLES;
    unsigned openAttributes_ = 0;
    unsigned openTakenAtReplay_ = 0;
    std::vector<Vertex> openVertices_;
};
