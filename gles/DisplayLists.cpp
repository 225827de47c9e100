#include "gles/DisplayLists.h"

namespace {

constexpr int kMaxNesting = 64;

}  // namespace

GLuint DisplayLists::generate(GLsizei range)
{
    if (range <= 0)
        return 0;
    GLuint first = 1;
    for (;;) {
        GLuint clash = 0;
        for (GLuint name = first; name < first + static_cast<GLuint>(range); ++name)
            if (lists_.count(name) != 0)
                clash = name;
        if (clash == 0)
            break;
        first = clash + 1;
    }
    // Each name holds an empty list from now on, as in the driver: it is
    // a list (glIsList) before anything is recorded into it.
    for (GLuint name = first; name < first + static_cast<GLuint>(range); ++name)
        lists_[name] = DisplayList{};
    return first;
}

std::vector<unsigned> DisplayLists::remove(GLuint first, GLsizei range)
{
    std::vector<unsigned> buffers;
    for (GLsizei i = 0; i < range; ++i) {
        const GLuint name = first + static_cast<GLuint>(i);
        const auto found = lists_.find(name);
        if (found != lists_.end()) {
            if (found->second.buffer != 0)
                buffers.push_back(found->second.buffer);
            lists_.erase(found);
        }
    }
    return buffers;
}

bool DisplayLists::beginRecording(GLuint name)
{
    if (recording_ || name == 0)
        return false;
    recording_ = true;
    recordingName_ = name;
    current_ = DisplayList{};
    drawOpen_ = false;
    return true;
}

void DisplayLists::record(const ListCommand& command)
{
    const bool attribute = command.kind == ListCommand::Kind::Normal || command.kind == ListCommand::Kind::Colour ||
                           command.kind == ListCommand::Kind::TexCoord;
    if (!attribute)
        closeDraw();
    current_.commands.push_back(command);
}

bool DisplayLists::mergesWithOpenDraw(GLenum mode, unsigned attributes, unsigned takenAtReplay) const
{
    if (!drawOpen_ || mode != openMode_ || attributes != openAttributes_)
        return false;
    if (takenAtReplay != 0 || openTakenAtReplay_ != 0)
        return false;
    if (verticesPerPiece(mode) == 0)
        return false;
    // Only attribute settings may lie between, and only ones the new
    // vertices carry: the last vertex leaves them current all the same.
    for (auto c = current_.commands.rbegin(); c != current_.commands.rend(); ++c) {
        if (c->kind == ListCommand::Kind::Draw)
            return true;
        const unsigned carried = c->kind == ListCommand::Kind::Normal   ? kHasNormal
                                 : c->kind == ListCommand::Kind::Colour ? kHasColour
                                                                        : kHasTexCoord;
        if ((attributes & carried) == 0)
            return false;
    }
    return false;
}

void DisplayLists::recordDraw(GLenum mode, const std::vector<Vertex>& vertices)
{
    // Pieces left incomplete would pair up with the next primitive's.
    const std::size_t piece = verticesPerPiece(mode);
    const auto end = vertices.end() - static_cast<std::ptrdiff_t>(piece > 1 ? vertices.size() % piece : 0);
    if (end == vertices.begin())
        return;
    unsigned attributes = 0;
    unsigned heldByAll = kHasAllAttributes;
    for (auto v = vertices.begin(); v != end; ++v) {
        const unsigned held = attributesHeld(*v);
        attributes |= held;
        heldByAll &= held;
    }
    const unsigned takenAtReplay = attributes & ~heldByAll;
    if (mergesWithOpenDraw(mode, attributes, takenAtReplay)) {
        while (current_.commands.back().kind != ListCommand::Kind::Draw)
            current_.commands.pop_back();
        openVertices_.insert(openVertices_.end(), vertices.begin(), end);
        return;
    }
    closeDraw();
    drawOpen_ = true;
    openMode_ = mode;
    openAttributes_ = attributes;
    openTakenAtReplay_ = takenAtReplay;
    openVertices_.assign(vertices.begin(), end);
    ListCommand command{ListCommand::Kind::Draw};
    command.draw = static_cast<std::uint32_t>(current_.draws.size());
    current_.draws.emplace_back();
    current_.commands.push_back(command);
}

void DisplayLists::closeDraw()
{
    if (!drawOpen_)
        return;
    drawOpen_ = false;
    ListDraw& draw = current_.draws.back();
    draw.attributes = openAttributes_;
    draw.takenAtReplay = openTakenAtReplay_;
    draw.last = openVertices_.back();
    std::vector<Vertex>& all = current_.vertices;
    bool lines = false;
    for (Fill fill : {Fill::Polygons, Fill::Outlines, Fill::FlatOutlines}) {
        ListRange& range = draw.ranges[static_cast<int>(fill)];
        if (fill != Fill::Polygons && !isFilledMode(openMode_)) {
            range = draw.ranges[0];   // lines and points are the same in every polygon mode
            continue;
        }
        range.first = static_cast<std::uint32_t>(all.size());
        range.drawnAs = assemblePrimitive(openMode_, fill, openVertices_.data(), openVertices_.size(), all);
        range.count = static_cast<std::uint32_t>(all.size() - range.first);
        lines = lines || range.drawnAs == DrawnAs::Lines;
    }
    draw.mode = openMode_;
    if (lines || draw.takenAtReplay != 0) {
        draw.sourceFirst = static_cast<std::uint32_t>(current_.sources.size());
        draw.sourceCount = static_cast<std::uint32_t>(openVertices_.size());
        current_.sources.insert(current_.sources.end(), openVertices_.begin(), openVertices_.end());
    }
}

DisplayList* DisplayLists::endRecording(unsigned& replacedBuffer)
{
    replacedBuffer = 0;
    if (!recording_)
        return nullptr;
    closeDraw();
    recording_ = false;
    DisplayList& stored = lists_[recordingName_];
    replacedBuffer = stored.buffer;
    stored = std::move(current_);
    current_ = DisplayList{};
    return &stored;
}

DisplayList* DisplayLists::find(GLuint name)
{
    const auto found = lists_.find(name);
    return found == lists_.end() ? nullptr : &found->second;
}

void DisplayLists::replay(GLuint name, ListExecutor& executor, int depth)
{
    if (depth >= kMaxNesting)
        return;
    DisplayList* list = find(name);
    if (list == nullptr)
        return;
    for (const ListCommand& command : list->commands) {
        if (command.kind == ListCommand::Kind::CallList)
            replay(command.name, executor, depth + 1);
        else if (command.kind == ListCommand::Kind::Draw)
            executor.draw(*list, list->draws[command.draw]);
        else
            executor.execute(command);
    }
}
