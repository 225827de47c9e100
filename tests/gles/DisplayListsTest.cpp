#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include <string>
#include <vector>

#include "gles/DisplayLists.h"

namespace {

// Writes down what a replay does, one line per command.
class Transcript : public ListExecutor {
public:
    std::vector<std::string> lines;

    void execute(const ListCommand& c) override
    {
        switch (c.kind) {
        case ListCommand::Kind::Enable: lines.push_back("enable " + std::to_string(c.target)); break;
        case ListCommand::Kind::Disable: lines.push_back("disable " + std::to_string(c.target)); break;
        case ListCommand::Kind::PolygonMode: lines.push_back("polygon " + std::to_string(c.name)); break;
        case ListCommand::Kind::Material:
            lines.push_back("material " + std::to_string(c.name) + " " + std::to_string(c.values[1]));
            break;
        case ListCommand::Kind::Normal: lines.push_back("normal " + std::to_string(c.values[2])); break;
        default: lines.push_back("other"); break;
        }
    }

    void draw(const DisplayList& list, const ListDraw& d) override
    {
        const ListRange& filled = d.range(Fill::Polygons);
        lines.push_back("draw " + std::to_string(filled.count) + " from x=" +
                        std::to_string(static_cast<int>(list.vertices[filled.first].position[0])));
    }
};

// A vertex as recorded in a list that had set the given attributes.
Vertex at(float x, unsigned attributes = kHasAllAttributes)
{
    Vertex v{{x, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f}};
    if ((attributes & kHasNormal) == 0)
        std::fill(std::begin(v.normal), std::end(v.normal), kTakenAtReplay);
    if ((attributes & kHasColour) == 0)
        std::fill(std::begin(v.colour), std::end(v.colour), kTakenAtReplay);
    if ((attributes & kHasTexCoord) == 0)
        std::fill(std::begin(v.texCoord), std::end(v.texCoord), kTakenAtReplay);
    return v;
}

ListCommand command(ListCommand::Kind kind, GLenum target = 0, GLuint name = 0)
{
    ListCommand c{kind};
    c.target = target;
    c.name = name;
    return c;
}

void recordTriangle(DisplayLists& lists, float x, unsigned attributes = kHasNormal)
{
    lists.recordDraw(GL_TRIANGLES, {at(x, attributes), at(x + 1.0f, attributes), at(x + 2.0f, attributes)});
}

TEST(GlesDisplayLists, ReplayRunsStateChangesAndDrawsInRecordedOrder)
{
    DisplayLists lists;
    const GLuint list = lists.generate(1);
    ASSERT_TRUE(lists.beginRecording(list));
    EXPECT_TRUE(lists.recording());
    lists.record(command(ListCommand::Kind::PolygonMode, GL_FRONT_AND_BACK, GL_LINE));
    ListCommand material = command(ListCommand::Kind::Material, GL_FRONT_AND_BACK, GL_DIFFUSE);
    material.values = {0.1f, 0.5f, 0.2f, 1.0f};
    lists.record(material);
    recordTriangle(lists, 10.0f);
    lists.record(command(ListCommand::Kind::PolygonMode, GL_FRONT_AND_BACK, GL_FILL));
    unsigned replaced = 99;
    DisplayList* stored = lists.endRecording(replaced);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(replaced, 0u);

    Transcript transcript;
    lists.replay(list, transcript);
    EXPECT_EQ(transcript.lines, (std::vector<std::string>{"polygon " + std::to_string(GL_LINE),
                                                          "material " + std::to_string(GL_DIFFUSE) + " 0.500000",
                                                          "draw 3 from x=10", "polygon " + std::to_string(GL_FILL)}));
    // Twice gives the same again: replaying leaves the list as it was.
    Transcript again;
    lists.replay(list, again);
    EXPECT_EQ(again.lines, transcript.lines);
}

TEST(GlesDisplayLists, CalledListsAreLookedUpWhenReplayedNotWhenRecorded)
{
    DisplayLists lists;
    const GLuint inner = lists.generate(2);
    const GLuint outer = inner + 1;
    unsigned replaced = 0;
    lists.beginRecording(outer);
    lists.record(command(ListCommand::Kind::Enable, GL_TEXTURE_GEN_S));
    lists.record(command(ListCommand::Kind::CallList, 0, inner));
    lists.record(command(ListCommand::Kind::Disable, GL_TEXTURE_GEN_S));
    lists.endRecording(replaced);

    // The inner list is recorded after the outer one and still counts.
    lists.beginRecording(inner);
    recordTriangle(lists, 5.0f);
    lists.endRecording(replaced);

    Transcript transcript;
    lists.replay(outer, transcript);
    EXPECT_EQ(transcript.lines,
              (std::vector<std::string>{"enable " + std::to_string(GL_TEXTURE_GEN_S), "draw 3 from x=5",
                                        "disable " + std::to_string(GL_TEXTURE_GEN_S)}));

    // Deleting the inner list leaves the call a no-op.
    lists.remove(inner, 1);
    Transcript without;
    lists.replay(outer, without);
    EXPECT_EQ(without.lines.size(), 2u);
}

TEST(GlesDisplayLists, AListCallingItselfStopsAtTheNestingLimit)
{
    DisplayLists lists;
    const GLuint list = lists.generate(1);
    unsigned replaced = 0;
    lists.beginRecording(list);
    recordTriangle(lists, 1.0f);
    lists.record(command(ListCommand::Kind::CallList, 0, list));
    lists.endRecording(replaced);
    Transcript transcript;
    lists.replay(list, transcript);
    EXPECT_EQ(transcript.lines.size(), 64u);
}

TEST(GlesDisplayLists, EachDrawKeepsAVersionPerFillAndItsOwnAttributes)
{
    DisplayLists lists;
    const GLuint list = lists.generate(1);
    unsigned replaced = 0;
    lists.beginRecording(list);
    const unsigned set = kHasNormal | kHasTexCoord;
    lists.recordDraw(GL_QUADS, {at(0, set), at(1, set), at(2, set), at(3, set)});
    lists.recordDraw(GL_LINE_STRIP, {at(4, 0), at(5, 0), at(6, 0)});
    const DisplayList* stored = lists.endRecording(replaced);
    ASSERT_EQ(stored->draws.size(), 2u);

    const ListDraw& quad = stored->draws[0];
    EXPECT_EQ(quad.range(Fill::Polygons).drawnAs, DrawnAs::Triangles);
    EXPECT_EQ(quad.range(Fill::Polygons).count, 6u);
    EXPECT_EQ(quad.range(Fill::Outlines).drawnAs, DrawnAs::Lines);
    EXPECT_EQ(quad.range(Fill::Outlines).count, 8u);   // four edges, no diagonal
    EXPECT_EQ(quad.range(Fill::FlatOutlines).count, 8u);
    EXPECT_NE(quad.range(Fill::FlatOutlines).first, quad.range(Fill::Outlines).first);
    EXPECT_EQ(quad.attributes, kHasNormal | kHasTexCoord);   // the colour is taken at replay
    EXPECT_EQ(quad.last.position[0], 3.0f);

    // Lines are the same in every polygon mode.
    const ListDraw& strip = stored->draws[1];
    EXPECT_EQ(strip.range(Fill::Polygons).first, strip.range(Fill::FlatOutlines).first);
    EXPECT_EQ(strip.range(Fill::Outlines).count, 4u);
    EXPECT_EQ(stored->vertices.size(), 6u + 8u + 8u + 4u);
}

TEST(GlesDisplayLists, NamesAreListsFromGenerationUntilDeletion)
{
    DisplayLists lists;
    const GLuint first = lists.generate(3);
    EXPECT_NE(first, 0u);
    EXPECT_TRUE(lists.isList(first + 2));
    EXPECT_EQ(lists.count(), 3u);
    const GLuint next = lists.generate(1);
    EXPECT_TRUE(next < first || next > first + 2);   // never a name in use
    EXPECT_EQ(lists.generate(0), 0u);

    // Re-recording a name hands back the old buffer; deleting hands back the current one.
    unsigned replaced = 0;
    lists.beginRecording(first);
    lists.endRecording(replaced)->buffer = 7;
    lists.beginRecording(first);
    EXPECT_FALSE(lists.beginRecording(first + 1));   // one recording at a time
    lists.endRecording(replaced)->buffer = 8;
    EXPECT_EQ(replaced, 7u);
    EXPECT_EQ(lists.remove(first, 3), (std::vector<unsigned>{8u}));
    EXPECT_FALSE(lists.isList(first));
    EXPECT_EQ(lists.count(), 1u);
    EXPECT_FALSE(lists.beginRecording(0));   // 0 is never a list
}

TEST(GlesDisplayLists, DrawsThatMayBeAssembledAgainAtReplayKeepTheirVerticesAsGiven)
{
    DisplayLists lists;
    const GLuint list = lists.generate(1);
    unsigned replaced = 0;
    lists.beginRecording(list);
    // The colour is set after the first triangle: that one takes it at replay.
    lists.recordDraw(GL_TRIANGLES, {at(0, kHasNormal), at(1, kHasNormal), at(2, kHasNormal), at(3), at(4), at(5)});
    lists.recordDraw(GL_TRIANGLES, {at(6), at(7), at(8)});   // does not merge with a draw completed at replay
    lists.recordDraw(GL_POINTS, {at(9), at(10)});
    lists.recordDraw(GL_LINE_STRIP, {at(11), at(12), at(13)});
    const DisplayList* stored = lists.endRecording(replaced);
    ASSERT_EQ(stored->draws.size(), 4u);
    const ListDraw& completed = stored->draws[0];
    EXPECT_EQ(completed.attributes, kHasAllAttributes);
    EXPECT_EQ(completed.takenAtReplay, kHasColour | kHasTexCoord);
    EXPECT_EQ(stored->draws[1].takenAtReplay, 0u);

    // Filled and line draws keep theirs (outlines and lines may be drawn
    // wide); points are never assembled again.
    EXPECT_EQ(completed.sourceCount, 6u);
    EXPECT_EQ(stored->draws[1].sourceCount, 3u);
    EXPECT_EQ(stored->draws[2].sourceCount, 0u);
    const ListDraw& strip = stored->draws[3];
    ASSERT_EQ(strip.sourceCount, 3u);
    EXPECT_EQ(strip.mode, static_cast<GLenum>(GL_LINE_STRIP));
    EXPECT_EQ(stored->sources[strip.sourceFirst + 2].position[0], 13.0f);
    EXPECT_EQ(stored->sources.size(), 12u);
}

}  // namespace
