#include "gles/es/Layer.h"

#include <memory>

#include "gles/Unsupported.h"
#include "gles/es/EsFunctions.h"

namespace {

std::unique_ptr<Layer>& theLayer()
{
    static std::unique_ptr<Layer> layer;
    return layer;
}

}  // namespace

Layer& Layer::get()
{
    std::unique_ptr<Layer>& layer = theLayer();
    if (!layer)
        layer.reset(new Layer);
    return *layer;
}

Layer& Layer::settled()
{
    Layer& layer = get();
    layer.drawPending();
    return layer;
}

void Layer::drawPending()
{
    if (pending_.empty())
        return;
    renderer_.drawImmediate(drawState(), pendingAs_, pending_);
    pending_.clear();
}

// A new context starts from OpenGL's initial state: nothing of an earlier
// context (lists, programs, buffers) survives it.
bool Layer::start(GlesProcLookup lookup)
{
    if (!loadEsFunctions(lookup))
        return false;
    theLayer().reset(new Layer);
    Layer& fresh = get();
    es.GetIntegerv(GL_VIEWPORT, fresh.state.viewport.data());
    es.GetIntegerv(GL_SCISSOR_BOX, fresh.state.scissor.data());
    return fresh.renderer_.start();
}

void Layer::fail(GLenum error)
{
    if (error_ == GL_NO_ERROR)
        error_ = error;
}

GLenum Layer::takeError()
{
    const GLenum error = error_;
    error_ = GL_NO_ERROR;
    return error;
}

DrawState Layer::drawState() const
{
    return {state, modelview.top(), projection.top(), transformStamp_, appearanceStamp_, sizesStamp_};
}

void Layer::record(ListCommand::Kind kind, GLenum target, GLuint name, const float* values, int count)
{
    ListCommand command{kind};
    command.target = target;
    command.name = name;
    for (int i = 0; i < count; ++i)
        command.values[static_cast<std::size_t>(i)] = values[i];
    lists.record(command);
}

bool Layer::refusedInList(const char* call)
{
    if (!lists.recording())
        return false;
    reportUnsupported(call, 0);
    return true;
}

MatrixStack& Layer::currentStack()
{
    if (state.matrixMode == GL_PROJECTION)
        return projection;
    if (state.matrixMode == GL_TEXTURE)
        return textureMatrix;
    return modelview;
}

void Layer::begin(GLenum mode)
{
    if (insideBegin_) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    if (!isPrimitiveMode(mode)) {
        fail(GL_INVALID_ENUM);
        return;
    }
    insideBegin_ = true;
    mode_ = mode;
    primitive_.clear();
}

void Layer::vertex(float x, float y, float z, float w)
{
    if (!insideBegin_)
        return;   // outside glBegin/glEnd a vertex has no effect
    Vertex v;
    if (lists.recording()) {
        v = recordingCurrent_;
    } else {
        for (std::size_t i = 0; i < 3; ++i)
            v.normal[i] = state.normal[i];
        for (std::size_t i = 0; i < 4; ++i)
            v.colour[i] = state.colour[i];
        v.texCoord[0] = state.texCoord[0];
        v.texCoord[1] = state.texCoord[1];
    }
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    v.position[3] = w;
    primitive_.push_back(v);
}

void Layer::end()
{
    if (!insideBegin_) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    insideBegin_ = false;
    if (lists.recording()) {
        lists.recordDraw(mode_, primitive_, recordingKnown_);
        return;
    }
    const DrawnAs drawnAs =
        assemblePrimitive(mode_, fillFor(state), primitive_.data(), primitive_.size(), assembled_);
    if (drawnAs == DrawnAs::Nothing || assembled_.empty())
        return;
    if (drawnAs != pendingAs_)
        drawPending();
    pendingAs_ = drawnAs;
    pending_.insert(pending_.end(), assembled_.begin(), assembled_.end());
}

void Layer::setNormal(float x, float y, float z)
{
    const float values[3] = {x, y, z};
    if (lists.recording()) {
        std::copy(values, values + 3, recordingCurrent_.normal);
        recordingKnown_ |= kHasNormal;
        if (!insideBegin_)
            record(ListCommand::Kind::Normal, 0, 0, values, 3);
        return;
    }
    state.normal = {x, y, z};
}

void Layer::setColour(float r, float g, float b, float a)
{
    const float values[4] = {r, g, b, a};
    if (lists.recording()) {
        std::copy(values, values + 4, recordingCurrent_.colour);
        recordingKnown_ |= kHasColour;
        if (!insideBegin_)
            record(ListCommand::Kind::Colour, 0, 0, values, 4);
        return;
    }
    state.colour = {r, g, b, a};
}

void Layer::setTexCoord(float s, float t)
{
    const float values[2] = {s, t};
    if (lists.recording()) {
        std::copy(values, values + 2, recordingCurrent_.texCoord);
        recordingKnown_ |= kHasTexCoord;
        if (!insideBegin_)
            record(ListCommand::Kind::TexCoord, 0, 0, values, 2);
        return;
    }
    state.texCoord = {s, t};
}

void Layer::enable(GLenum capability, bool on)
{
    if (lists.recording()) {
        record(on ? ListCommand::Kind::Enable : ListCommand::Kind::Disable, capability, 0, nullptr, 0);
        return;
    }
    if (!setCapability(state, capability, on)) {
        reportUnsupported(on ? "glEnable" : "glDisable", capability);
        return;
    }
    if (capability == GL_BLEND || capability == GL_DEPTH_TEST || capability == GL_SCISSOR_TEST)
        on ? es.Enable(capability) : es.Disable(capability);
}

void Layer::material(GLenum face, GLenum name, const float* values)
{
    if (lists.recording()) {
        record(ListCommand::Kind::Material, face, name, values, name == GL_SHININESS ? 1 : 4);
        return;
    }
    if (!setMaterial(state, face, name, values)) {
        const bool knownFace = face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK;
        reportUnsupported("glMaterial", knownFace ? name : face);
        return;
    }
    appearanceChanged();
}

void Layer::bindTexture(GLenum target, GLuint texture)
{
    if (lists.recording()) {
        record(ListCommand::Kind::BindTexture, target, texture, nullptr, 0);
        return;
    }
    if (target != GL_TEXTURE_2D) {
        reportUnsupported("glBindTexture", target);
        return;
    }
    state.boundTexture = texture;
    es.BindTexture(target, texture);
}

void Layer::texParameter(GLenum target, GLenum name, GLint value)
{
    if (lists.recording()) {
        const float asFloat = static_cast<float>(value);
        record(ListCommand::Kind::TexParameter, target, name, &asFloat, 1);
        return;
    }
    const bool filter = name == GL_TEXTURE_MIN_FILTER || name == GL_TEXTURE_MAG_FILTER;
    const bool wrap = name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T;
    if (target != GL_TEXTURE_2D || !(filter || wrap)) {
        reportUnsupported("glTexParameteri", target != GL_TEXTURE_2D ? target : name);
        return;
    }
    if (wrap && value != GL_REPEAT) {
        // OpenGL 1.1's GL_CLAMP reaches into the border colour; ES has no border.
        reportUnsupported("glTexParameteri wrap", static_cast<unsigned>(value));
        return;
    }
    es.TexParameteri(target, name, value);
}

void Layer::polygonMode(GLenum face, GLenum mode)
{
    if (lists.recording()) {
        record(ListCommand::Kind::PolygonMode, face, mode, nullptr, 0);
        return;
    }
    if (face != GL_FRONT_AND_BACK) {
        reportUnsupported("glPolygonMode", face);
        return;
    }
    if (mode != GL_FILL && mode != GL_LINE) {
        reportUnsupported("glPolygonMode", mode);
        return;
    }
    state.polygonMode = mode;
}

void Layer::callList(GLuint list)
{
    if (lists.recording()) {
        record(ListCommand::Kind::CallList, 0, list, nullptr, 0);
        return;
    }
    lists.replay(list, *this);
}

void Layer::pushMatrix()
{
    if (lists.recording()) {
        record(ListCommand::Kind::PushMatrix, 0, 0, nullptr, 0);
        return;
    }
    if (!currentStack().push())
        fail(GL_STACK_OVERFLOW);
}

void Layer::popMatrix()
{
    if (lists.recording()) {
        record(ListCommand::Kind::PopMatrix, 0, 0, nullptr, 0);
        return;
    }
    MatrixStack& stack = currentStack();
    if (!stack.pop()) {
        fail(GL_STACK_UNDERFLOW);
        return;
    }
    matrixChanged();
}

void Layer::newList(GLuint list, GLenum mode)
{
    if (mode != GL_COMPILE) {
        reportUnsupported("glNewList", mode);
        return;
    }
    if (list == 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    if (lists.recording() || insideBegin_) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    lists.beginRecording(list);
    recordingKnown_ = 0;
}

void Layer::endList()
{
    if (!lists.recording() || insideBegin_) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    unsigned replaced = 0;
    DisplayList* list = lists.endRecording(replaced);
    if (replaced != 0)
        renderer_.deleteBuffers({replaced});
    list->buffer = renderer_.uploadList(list->vertices);
}

void Layer::deleteLists(GLuint first, GLsizei range)
{
    if (range < 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    renderer_.deleteBuffers(lists.remove(first, range));
}

void Layer::restoreDriverState()
{
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST}) {
        bool on = false;
        readCapability(state, capability, on);
        on ? es.Enable(capability) : es.Disable(capability);
    }
    es.BlendFunc(state.blendSource, state.blendDestination);
    es.DepthMask(state.depthMask ? GL_TRUE : GL_FALSE);
    es.DepthFunc(state.depthFunc);
    es.ClearColor(state.clearColour[0], state.clearColour[1], state.clearColour[2], state.clearColour[3]);
    es.ClearDepthf(state.clearDepth);
    es.Viewport(state.viewport[0], state.viewport[1], state.viewport[2], state.viewport[3]);
    es.Scissor(state.scissor[0], state.scissor[1], state.scissor[2], state.scissor[3]);
    es.BindTexture(GL_TEXTURE_2D, state.boundTexture);
    matrixChanged();
    appearanceChanged();
    sizesChanged();
}

void Layer::execute(const ListCommand& c)
{
    switch (c.kind) {
    case ListCommand::Kind::Enable: enable(c.target, true); break;
    case ListCommand::Kind::Disable: enable(c.target, false); break;
    case ListCommand::Kind::Material: material(c.target, c.name, c.values.data()); break;
    case ListCommand::Kind::BindTexture: bindTexture(c.target, c.name); break;
    case ListCommand::Kind::TexParameter: texParameter(c.target, c.name, static_cast<GLint>(c.values[0])); break;
    case ListCommand::Kind::PolygonMode: polygonMode(c.target, c.name); break;
    case ListCommand::Kind::Normal: setNormal(c.values[0], c.values[1], c.values[2]); break;
    case ListCommand::Kind::Colour: setColour(c.values[0], c.values[1], c.values[2], c.values[3]); break;
    case ListCommand::Kind::TexCoord: setTexCoord(c.values[0], c.values[1]); break;
    case ListCommand::Kind::PushMatrix: pushMatrix(); break;
    case ListCommand::Kind::PopMatrix: popMatrix(); break;
    case ListCommand::Kind::CallList:
    case ListCommand::Kind::Draw: break;   // handled by the replay itself
    }
}

void Layer::draw(const DisplayList& list, const ListDraw& listDraw)
{
    renderer_.drawList(drawState(), list, listDraw);
    // The list's last vertex leaves its attributes current.
    const Vertex& last = listDraw.last;
    if ((listDraw.attributes & kHasNormal) != 0)
        state.normal = {last.normal[0], last.normal[1], last.normal[2]};
    if ((listDraw.attributes & kHasColour) != 0)
        state.colour = {last.colour[0], last.colour[1], last.colour[2], last.colour[3]};
    if ((listDraw.attributes & kHasTexCoord) != 0)
        state.texCoord = {last.texCoord[0], last.texCoord[1]};
}
