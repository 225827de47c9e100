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
    return true;
}

void DisplayLists::recordDraw(GLenum mode, const std::vector<Vertex>& vertices, unsigned attributes)
{
    if (vertices.empty())
        return;
    ListDraw draw;
    draw.attributes = attributes;
    draw.last = vertices.back();
    std::vector<Vertex>& all = current_.vertices;
    for (Fill fill : {Fill::Polygons, Fill::Outlines, Fill::FlatOutlines}) {
        ListRange& range = draw.ranges[static_cast<int>(fill)];
        if (fill != Fill::Polygons && !isFilledMode(mode)) {
            range = draw.ranges[0];   // lines and points are the same in every polygon mode
            continue;
        }
        range.drawnAs = assemblePrimitive(mode, fill, vertices.data(), vertices.size(), scratch_);
        range.first = static_cast<std::uint32_t>(all.size());
        range.count = static_cast<std::uint32_t>(scratch_.size());
        all.insert(all.end(), scratch_.begin(), scratch_.end());
    }
    ListCommand command{ListCommand::Kind::Draw};
    command.draw = static_cast<std::uint32_t>(current_.draws.size());
    current_.draws.push_back(draw);
    current_.commands.push_back(command);
}

DisplayList* DisplayLists::endRecording(unsigned& replacedBuffer)
{
    replacedBuffer = 0;
    if (!recording_)
        return nullptr;
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
