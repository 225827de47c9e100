#include "gles/es/FixedFunctionMachine.h"

#include <algorithm>
#include <memory>

#include "gles/Unsupported.h"

namespace {

// OpenGL's least client attribute stack depth.
constexpr std::size_t kClientAttributeStackDepth = 16;

std::unique_ptr<FixedFunctionMachine>& theMachine()
{
    static std::unique_ptr<FixedFunctionMachine> layer;
    return layer;
}

// A list's vertex with the attributes it takes at replay filled in.
void completeAtReplay(Vertex& v, const FixedFunctionState& state)
{
    if (std::isnan(v.normal[0]))
        std::copy(state.normal.begin(), state.normal.end(), v.normal);
    if (std::isnan(v.colour[0]))
        std::copy(state.colour.begin(), state.colour.end(), v.colour);
    if (std::isnan(v.texCoord[0]))
        std::copy(state.texCoord.begin(), state.texCoord.end(), v.texCoord);
}

}  // namespace

bool glesLayerStart(GlesProcLookup lookup)
{
    return FixedFunctionMachine::start(lookup);
}

int glesLayerShaderPrograms()
{
    return static_cast<int>(FixedFunctionMachine::current().shaderPrograms());
}

FixedFunctionMachine& FixedFunctionMachine::get()
{
    std::unique_ptr<FixedFunctionMachine>& layer = theMachine();
    if (!layer)
        layer.reset(new FixedFunctionMachine);
    return *layer;
}

FixedFunctionMachine& FixedFunctionMachine::current()
{
    FixedFunctionMachine& layer = get();
    layer.drawPending();
    return layer;
}

Gathering FixedFunctionMachine::gathering()
{
    return Gathering(get());
}

// Draws the complete primitives gathered; one still being gathered in
// place (a call between glBegin and glEnd) stays for its glEnd.
void FixedFunctionMachine::drawPending()
{
    const std::size_t complete = insideBegin_ && gatheredInPlace_ ? primitiveStart_ : pending_.size();
    if (complete == 0)
        return;
    if (pendingIndexed_ && Renderer::drawsWide(state, pendingAs_)) {
        // Wide lines are drawn as bands made from each segment's own ends.
        expanded_.clear();
        for (std::uint32_t index : pendingIndices_)
            expanded_.push_back(pending_[index]);
        renderer_.drawImmediate(drawState(), pendingAs_, expanded_.data(), expanded_.size());
    } else if (pendingIndexed_) {
        renderer_.drawIndexed(drawState(), pendingAs_, pending_.data(), complete, pendingIndices_);
    } else {
        renderer_.drawImmediate(drawState(), pendingAs_, pending_.data(), complete);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(complete));
    pendingIndices_.clear();
    pendingIndexed_ = false;
    if (insideBegin_ && gatheredInPlace_)
        primitiveStart_ = 0;
}

// A new context starts from OpenGL's initial state: nothing of an earlier
// context (lists, programs, buffers) survives it.
bool FixedFunctionMachine::start(GlesProcLookup lookup)
{
    if (!loadEsFunctions(lookup))
        return false;
    theMachine().reset(new FixedFunctionMachine);
    FixedFunctionMachine& fresh = get();
    esDriver.GetIntegerv(GL_VIEWPORT, fresh.state.viewport.data());
    esDriver.GetIntegerv(GL_SCISSOR_BOX, fresh.state.scissor.data());
    return fresh.renderer_.start();
}

void FixedFunctionMachine::fail(GLenum error)
{
    if (error_ == GL_NO_ERROR)
        error_ = error;
}

GLenum FixedFunctionMachine::takeError()
{
    const GLenum error = error_;
    error_ = GL_NO_ERROR;
    return error;
}

DrawState FixedFunctionMachine::drawState() const
{
    return {state, modelview.top(), projection.top(), transformStamp_, appearanceStamp_, sizesStamp_};
}

void FixedFunctionMachine::record(ListCommand::Kind kind, GLenum target, GLuint name, const float* values, int count)
{
    ListCommand command{kind};
    command.target = target;
    command.name = name;
    for (int i = 0; i < count; ++i)
        command.values[static_cast<std::size_t>(i)] = values[i];
    lists.record(command);
}

bool FixedFunctionMachine::refusedInList(const char* call)
{
    if (!lists.recording())
        return false;
    reportUnsupported(call, 0);
    return true;
}

MatrixStack& FixedFunctionMachine::currentStack()
{
    if (state.matrixMode == GL_PROJECTION)
        return projection;
    if (state.matrixMode == GL_TEXTURE)
        return textureMatrix;
    return modelview;
}

void Gathering::begin(GLenum mode)
{
    if (layer_.insideBegin_) {
        layer_.fail(GL_INVALID_OPERATION);
        return;
    }
    if (!isPrimitiveMode(mode)) {
        layer_.fail(GL_INVALID_ENUM);
        return;
    }
    layer_.insideBegin_ = true;
    layer_.mode_ = mode;
    layer_.primitive_.clear();
    layer_.gatheredInPlace_ = false;
    if (layer_.lists.recording())
        return;
    layer_.fill_ = fillFor(layer_.state);
    const DrawnAs drawnAs = drawnAsFor(mode, layer_.fill_);
    if (drawnAs != layer_.pendingAs_) {
        layer_.drawPending();
        layer_.pendingAs_ = drawnAs;
    }
    layer_.gatheredInPlace_ = assemblyKeepsVertices(mode, layer_.fill_) || assemblyIndexes(mode, layer_.fill_) ||
                              (layer_.fill_ == Fill::FlatOutlines && flatOutlineMayIndex(mode, layer_.state.lighting));
    layer_.primitiveStart_ = layer_.pending_.size();
}

void Gathering::vertex(float x, float y, float z, float w)
{
    if (!layer_.insideBegin_)
        return;   // outside glBegin/glEnd a vertex has no effect
    Vertex v;
    if (layer_.lists.recording()) {
        v = layer_.recordingCurrent_;
    } else {
        std::copy(layer_.state.normal.begin(), layer_.state.normal.end(), v.normal);
        std::copy(layer_.state.colour.begin(), layer_.state.colour.end(), v.colour);
        std::copy(layer_.state.texCoord.begin(), layer_.state.texCoord.end(), v.texCoord);
    }
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    v.position[3] = w;
    (layer_.gatheredInPlace_ ? layer_.pending_ : layer_.primitive_).push_back(v);
}

void Gathering::end()
{
    if (!layer_.insideBegin_) {
        layer_.fail(GL_INVALID_OPERATION);
        return;
    }
    layer_.insideBegin_ = false;
    if (layer_.lists.recording()) {
        layer_.lists.recordDraw(layer_.mode_, layer_.primitive_);
        return;
    }
    if (layer_.gatheredInPlace_) {
        layer_.endInPlace();
        return;
    }
    layer_.appendAssembled();
}

// Assembles primitive_ into copies at the end of pending_, drawn as they
// come in an indexed batch too.
void FixedFunctionMachine::appendAssembled()
{
    const std::size_t before = pending_.size();
    assemblePrimitive(mode_, fill_, primitive_.data(), primitive_.size(), pending_);
    for (std::size_t i = before; pendingIndexed_ && i < pending_.size(); ++i)
        pendingIndices_.push_back(static_cast<std::uint32_t>(i));
}

// Closes a primitive gathered into pending_: drops its incomplete last
// piece, or gives its triangles (or edges) as indices.
void FixedFunctionMachine::endInPlace()
{
    const std::size_t start = primitiveStart_;
    if (fill_ == Fill::FlatOutlines && isFilledMode(mode_) &&
        !flatOutlineIndexes(pending_.data() + start, pending_.size() - start, state.lighting)) {
        // Its edges need their flat vertex's colour: assembled as copies after all.
        primitive_.assign(pending_.begin() + static_cast<std::ptrdiff_t>(start), pending_.end());
        pending_.resize(start);
        appendAssembled();
        return;
    }
    const std::size_t piece = verticesPerPiece(mode_);
    const bool separate = assemblyKeepsVertices(mode_, fill_);
    if (!separate && !pendingIndexed_) {
        // The batch's vertices so far each drawn once, in order.
        pendingIndices_.resize(start);
        for (std::size_t i = 0; i < start; ++i)
            pendingIndices_[i] = static_cast<std::uint32_t>(i);
        pendingIndexed_ = true;
    }
    if (separate) {
        // Only an incomplete last piece is left out.
        pending_.resize(pending_.size() - (pending_.size() - start) % piece);
        for (std::size_t i = start; pendingIndexed_ && i < pending_.size(); ++i)
            pendingIndices_.push_back(static_cast<std::uint32_t>(i));
        return;
    }
    if (assembleIndices(mode_, fill_, pending_.size() - start, static_cast<std::uint32_t>(start), pendingIndices_) == 0)
        pending_.resize(start);   // too few vertices for a piece
}

void Gathering::setNormal(float x, float y, float z)
{
    const float values[3] = {x, y, z};
    if (layer_.lists.recording()) {
        std::copy(values, values + 3, layer_.recordingCurrent_.normal);
        if (!layer_.insideBegin_)
            layer_.record(ListCommand::Kind::Normal, 0, 0, values, 3);
        return;
    }
    layer_.state.normal = {x, y, z};
}

void Gathering::setColour(float r, float g, float b, float a)
{
    const float values[4] = {r, g, b, a};
    if (layer_.lists.recording()) {
        std::copy(values, values + 4, layer_.recordingCurrent_.colour);
        if (!layer_.insideBegin_)
            layer_.record(ListCommand::Kind::Colour, 0, 0, values, 4);
        return;
    }
    layer_.state.colour = {r, g, b, a};
}

void Gathering::setTexCoord(float s, float t)
{
    const float values[2] = {s, t};
    if (layer_.lists.recording()) {
        std::copy(values, values + 2, layer_.recordingCurrent_.texCoord);
        if (!layer_.insideBegin_)
            layer_.record(ListCommand::Kind::TexCoord, 0, 0, values, 2);
        return;
    }
    layer_.state.texCoord = {s, t};
}

void FixedFunctionMachine::enable(GLenum capability, bool on)
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
        on ? esDriver.Enable(capability) : esDriver.Disable(capability);
}

void FixedFunctionMachine::material(GLenum face, GLenum name, const float* values)
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

void FixedFunctionMachine::bindTexture(GLenum target, GLuint texture)
{
    if (lists.recording()) {
        record(ListCommand::Kind::BindTexture, target, texture, nullptr, 0);
        return;
    }
    if (target != GL_TEXTURE_2D) {
        reportUnsupported("glBindTexture", target);
        return;
    }
    // state.boundTexture is the driver's binding (a deleted texture's
    // binding falls back to 0 in both): binding it again changes nothing.
    if (texture == state.boundTexture)
        return;
    state.boundTexture = texture;
    esDriver.BindTexture(target, texture);
}

void FixedFunctionMachine::texParameter(GLenum target, GLenum name, GLint value)
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
    esDriver.TexParameteri(target, name, value);
}

void FixedFunctionMachine::polygonMode(GLenum face, GLenum mode)
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

void FixedFunctionMachine::callList(GLuint list)
{
    if (lists.recording()) {
        record(ListCommand::Kind::CallList, 0, list, nullptr, 0);
        return;
    }
    lists.replay(list, *this);
}

void FixedFunctionMachine::pushMatrix()
{
    if (lists.recording()) {
        record(ListCommand::Kind::PushMatrix, 0, 0, nullptr, 0);
        return;
    }
    if (!currentStack().push())
        fail(GL_STACK_OVERFLOW);
}

void FixedFunctionMachine::popMatrix()
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

void FixedFunctionMachine::newList(GLuint list, GLenum mode)
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
    // Nothing set by this list yet: its vertices take every attribute at
    // replay until it sets one.
    recordingCurrent_ = Vertex{};
    std::fill(std::begin(recordingCurrent_.normal), std::end(recordingCurrent_.normal), kTakenAtReplay);
    std::fill(std::begin(recordingCurrent_.colour), std::end(recordingCurrent_.colour), kTakenAtReplay);
    std::fill(std::begin(recordingCurrent_.texCoord), std::end(recordingCurrent_.texCoord), kTakenAtReplay);
}

void FixedFunctionMachine::endList()
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
    // Drawn from the buffer from now on, or assembled again from the
    // list's sources.
    std::vector<Vertex>().swap(list->vertices);
}

void FixedFunctionMachine::deleteLists(GLuint first, GLsizei range)
{
    if (range < 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    renderer_.deleteBuffers(lists.remove(first, range));
}

void FixedFunctionMachine::pushClientAttributes()
{
    if (clientAttributes_.size() >= kClientAttributeStackDepth) {
        fail(GL_STACK_OVERFLOW);
        return;
    }
    std::array<GLint, 2> alignments{4, 4};
    esDriver.GetIntegerv(GL_PACK_ALIGNMENT, &alignments[0]);
    esDriver.GetIntegerv(GL_UNPACK_ALIGNMENT, &alignments[1]);
    clientAttributes_.push_back(alignments);
}

void FixedFunctionMachine::popClientAttributes()
{
    if (clientAttributes_.empty()) {
        fail(GL_STACK_UNDERFLOW);
        return;
    }
    esDriver.PixelStorei(GL_PACK_ALIGNMENT, clientAttributes_.back()[0]);
    esDriver.PixelStorei(GL_UNPACK_ALIGNMENT, clientAttributes_.back()[1]);
    clientAttributes_.pop_back();
}

void FixedFunctionMachine::restoreDriverState()
{
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST}) {
        bool on = false;
        readCapability(state, capability, on);
        on ? esDriver.Enable(capability) : esDriver.Disable(capability);
    }
    esDriver.BlendFunc(state.blendSource, state.blendDestination);
    esDriver.DepthMask(state.depthMask ? GL_TRUE : GL_FALSE);
    esDriver.DepthFunc(state.depthFunc);
    esDriver.ClearColor(state.clearColour[0], state.clearColour[1], state.clearColour[2], state.clearColour[3]);
    esDriver.ClearDepthf(state.clearDepth);
    esDriver.DepthRangef(state.depthRange[0], state.depthRange[1]);
    esDriver.Viewport(state.viewport[0], state.viewport[1], state.viewport[2], state.viewport[3]);
    esDriver.Scissor(state.scissor[0], state.scissor[1], state.scissor[2], state.scissor[3]);
    esDriver.BindTexture(GL_TEXTURE_2D, state.boundTexture);
    matrixChanged();
    appearanceChanged();
    sizesChanged();
}

void FixedFunctionMachine::execute(const ListCommand& c)
{
    switch (c.kind) {
    case ListCommand::Kind::Enable: enable(c.target, true); break;
    case ListCommand::Kind::Disable: enable(c.target, false); break;
    case ListCommand::Kind::Material: material(c.target, c.name, c.values.data()); break;
    case ListCommand::Kind::BindTexture: bindTexture(c.target, c.name); break;
    case ListCommand::Kind::TexParameter: texParameter(c.target, c.name, static_cast<GLint>(c.values[0])); break;
    case ListCommand::Kind::PolygonMode: polygonMode(c.target, c.name); break;
    case ListCommand::Kind::Normal: Gathering(*this).setNormal(c.values[0], c.values[1], c.values[2]); break;
    case ListCommand::Kind::Colour:
        Gathering(*this).setColour(c.values[0], c.values[1], c.values[2], c.values[3]);
        break;
    case ListCommand::Kind::TexCoord: Gathering(*this).setTexCoord(c.values[0], c.values[1]); break;
    case ListCommand::Kind::PushMatrix: pushMatrix(); break;
    case ListCommand::Kind::PopMatrix: popMatrix(); break;
    case ListCommand::Kind::CallList:
    case ListCommand::Kind::Draw: break;   // handled by the replay itself
    }
}

void FixedFunctionMachine::draw(const DisplayList& list, const ListDraw& listDraw)
{
    const Fill fill = fillFor(state);
    if (listDraw.takenAtReplay != 0 || Renderer::drawsWide(state, listDraw.range(fill).drawnAs)) {
        // Assembled again from the vertices as given, with the attributes
        // the list did not set taken from the state now.
        completed_.clear();
        const DrawnAs drawnAs = assemblePrimitive(listDraw.mode, fill, list.sources.data() + listDraw.sourceFirst,
                                                  listDraw.sourceCount, completed_);
        for (Vertex& v : completed_)
            completeAtReplay(v, state);
        renderer_.drawImmediate(drawState(), drawnAs, completed_.data(), completed_.size());
    } else {
        renderer_.drawList(drawState(), list, listDraw);
    }
    // The list's last vertex leaves its attributes current.
    const Vertex& last = listDraw.last;
    if ((listDraw.attributes & kHasNormal) != 0)
        state.normal = {last.normal[0], last.normal[1], last.normal[2]};
    if ((listDraw.attributes & kHasColour) != 0)
        state.colour = {last.colour[0], last.colour[1], last.colour[2], last.colour[3]};
    if ((listDraw.attributes & kHasTexCoord) != 0)
        state.texCoord = {last.texCoord[0], last.texCoord[1]};
}
