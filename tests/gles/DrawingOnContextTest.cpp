// The layer's drawing rules checked on a real context.  In the desktop
// build the same tests run against the driver, so the two builds agree on
// what each test expects.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/TestPlatform.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

class GlesDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        beginDrawingTest();
        glViewport(0, 0, kWidth, kHeight);
        for (GLenum capability : {GL_LIGHTING, GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_2D, GL_FOG})
            glDisable(capability);
        glShadeModel(GL_SMOOTH);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glLineWidth(1.0f);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void TearDown() override { endDrawingTest(); }

    // The square from -0.5 to 0.5: window pixels 160-480 across, 120-360 up.
    static void square(GLenum mode = GL_QUADS)
    {
        glBegin(mode);
        glVertex3f(-0.5f, -0.5f, 0.0f);
        glVertex3f(0.5f, -0.5f, 0.0f);
        glVertex3f(0.5f, 0.5f, 0.0f);
        glVertex3f(-0.5f, 0.5f, 0.0f);
        glEnd();
    }

    struct Picture {
        std::vector<unsigned char> rgba = std::vector<unsigned char>(kWidth * kHeight * 4);
        const unsigned char* at(int x, int y) const { return &rgba[static_cast<std::size_t>((y * kWidth + x) * 4)]; }
        std::tuple<int, int, int> rgbAt(int x, int y) const { return {at(x, y)[0], at(x, y)[1], at(x, y)[2]}; }
        // The brightest red, green and blue in a small box around (x, y):
        // where exactly a line's pixels fall is the rasteriser's business.
        Pixel brightestNear(int x, int y, int reach = 2) const
        {
            Pixel best{0, 0, 0};
            for (int j = y - reach; j <= y + reach; ++j)
                for (int i = x - reach; i <= x + reach; ++i) {
                    const unsigned char* p = at(i, j);
                    best = {std::max(best.r, int{p[0]}), std::max(best.g, int{p[1]}), std::max(best.b, int{p[2]})};
                }
            return best;
        }
        int litPixels() const
        {
            int count = 0;
            for (std::size_t i = 0; i < rgba.size(); i += 4)
                count += rgba[i] + rgba[i + 1] + rgba[i + 2] > 0 ? 1 : 0;
            return count;
        }
    };

    static Picture read()
    {
        Picture picture;
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
        return picture;
    }
};

TEST_F(GlesDrawing, WireframeQuadsDrawTheirEdgesButNotTheDiagonal)
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    square(GL_QUADS);
    const Picture picture = read();
    for (auto [x, y] : {std::pair{320, 120}, {480, 240}, {320, 360}, {160, 240}})
        EXPECT_EQ(picture.brightestNear(x, y).g, 255) << "no edge at " << x << "," << y;
    // Both diagonals cross the middle; neither may be drawn.
    EXPECT_EQ(picture.brightestNear(320, 240, 8).g, 0);
    EXPECT_EQ(picture.brightestNear(240, 180, 8).g, 0);
}

TEST_F(GlesDrawing, FlatWireframeEdgesAllTakeTheQuadsLastColour)
{
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    const float corners[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glColor3f(colours[i][0], colours[i][1], colours[i][2]);
        glVertex3f(corners[i][0], corners[i][1], 0.0f);
    }
    glEnd();
    const Picture picture = read();
    for (auto [x, y] : {std::pair{320, 120}, {480, 240}, {320, 360}, {160, 240}}) {
        const Pixel p = picture.brightestNear(x, y);
        EXPECT_EQ(p.r + p.g + p.b, 3 * 255) << "edge at " << x << "," << y << " is not white";
    }
}

TEST_F(GlesDrawing, FlatWireframesOfOneColourAndOfManyShareABatchEachInItsOwnColours)
{
    // The first quad strip's edges are all red whatever its flat vertices;
    // the second's each take their quad's last colour, blue on the left
    // quad and green on the right, which the first quad's green corner
    // must not reach.
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_QUAD_STRIP);
    for (float x : {-0.9f, -0.6f, -0.3f}) {
        glVertex3f(x, 0.1f, 0.0f);
        glVertex3f(x, 0.6f, 0.0f);
    }
    glEnd();
    glBegin(GL_QUAD_STRIP);
    const float colours[6][3] = {{0, 1, 0}, {0, 1, 0}, {1, 1, 1}, {0, 0, 1}, {1, 1, 1}, {0, 1, 0}};
    int corner = 0;
    for (float x : {0.3f, 0.6f, 0.9f})
        for (float y : {-0.6f, -0.1f}) {
            glColor3f(colours[corner][0], colours[corner][1], colours[corner][2]);
            ++corner;
            glVertex3f(x, y, 0.0f);
        }
    glEnd();
    const Picture picture = read();
    const auto rgb = [&](int x, int y) {
        const Pixel p = picture.brightestNear(x, y);
        return std::tuple{p.r, p.g, p.b};
    };
    // Window x = 320 * (1 + x), y = 240 * (1 + y).
    for (auto [x, y] : {std::pair{32, 300}, {128, 300}, {224, 300}, {80, 264}, {176, 384}})
        EXPECT_EQ(rgb(x, y), std::tuple(255, 0, 0)) << "first strip at " << x << "," << y;
    for (auto [x, y] : {std::pair{416, 156}, {464, 96}, {464, 216}})
        EXPECT_EQ(rgb(x, y), std::tuple(0, 0, 255)) << "left quad at " << x << "," << y;
    for (auto [x, y] : {std::pair{608, 156}, {560, 96}, {560, 216}})
        EXPECT_EQ(rgb(x, y), std::tuple(0, 255, 0)) << "right quad at " << x << "," << y;
}

TEST_F(GlesDrawing, ListsTakeTheColourCurrentAtReplayUnlessTheySetOne)
{
    const GLuint lists = glGenLists(2);
    glNewList(lists, GL_COMPILE);
    square();
    glEndList();
    glNewList(lists + 1, GL_COMPILE);
    glColor3f(0.0f, 0.0f, 1.0f);
    square();
    glEndList();

    glColor3f(1.0f, 0.0f, 0.0f);
    glCallList(lists);
    EXPECT_EQ(read().at(320, 240)[0], 255);
    glColor3f(0.0f, 1.0f, 0.0f);
    glCallList(lists);
    EXPECT_EQ(read().at(320, 240)[1], 255);
    EXPECT_EQ(read().at(320, 240)[0], 0);

    // A list's own colour wins, and stays current after it.
    glCallList(lists + 1);
    EXPECT_EQ(read().at(320, 240)[2], 255);
    GLfloat current[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ(current[2], 1.0f);
    EXPECT_EQ(current[1], 0.0f);
    glDeleteLists(lists, 2);
}

TEST_F(GlesDrawing, StateChangesInsideListsHappenAtReplayInOrder)
{
    const GLuint outer = glGenLists(2);
    const GLuint inner = outer + 1;
    glNewList(outer, GL_COMPILE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glCallList(inner);   // recorded before the inner list exists
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEndList();
    GLint mode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);   // compiling executes nothing
    glNewList(inner, GL_COMPILE);
    glColor3f(1.0f, 1.0f, 1.0f);
    square();
    glEndList();
    EXPECT_EQ(read().litPixels(), 0);

    glCallList(outer);
    const Picture picture = read();
    EXPECT_EQ(picture.brightestNear(160, 240).r, 255);   // an outline
    EXPECT_EQ(picture.at(320, 240)[0], 0);               // not filled
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);

    EXPECT_EQ(glIsList(inner), GL_TRUE);
    glDeleteLists(outer, 2);
    EXPECT_EQ(glIsList(inner), GL_FALSE);
}

TEST_F(GlesDrawing, PoppedAttributesSwitchBlendingAndDepthWritesBack)
{
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    glPopAttrib();
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);

    // Really off in the driver, not only in what glIsEnabled says: two
    // grey squares stay grey instead of adding up.
    glColor3f(0.4f, 0.4f, 0.4f);
    square();
    square();
    EXPECT_NEAR(read().at(320, 240)[0], 102, 1);

    // Depth writes really on again in the driver: with the depth test on, a
    // near red square hides a far green one drawn after it.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    for (const auto& [z, green] : {std::pair{-0.5f, 0.0f}, {0.5f, 1.0f}}) {
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, z);
        glColor3f(1.0f - green, green, 0.0f);
        square();
    }
    glLoadIdentity();
    const Picture picture = read();
    EXPECT_EQ(picture.at(320, 240)[0], 255);
    EXPECT_EQ(picture.at(320, 240)[1], 0);
}

TEST_F(GlesDrawing, PointsAndWideLinesCoverTheAskedPixels)
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glPointSize(8.0f);
    glBegin(GL_POINTS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    glPointSize(1.0f);
    EXPECT_EQ(read().litPixels(), 64);

    glClear(GL_COLOR_BUFFER_BIT);
    glLineWidth(3.0f);
    // Across, 100 pixels long, along the middle of pixel row 264.
    const float y = 0.1f + 0.5f / 240.0f;
    glBegin(GL_LINES);
    glVertex3f(-0.15625f, y, 0.0f);
    glVertex3f(0.15625f, y, 0.0f);
    glEnd();
    glLineWidth(1.0f);
    const Picture line = read();
    EXPECT_NEAR(line.litPixels(), 300, 6);   // the ends' pixels follow the rasteriser's rules
    int rows = 0;
    for (int row = 240; row < 300; ++row)
        rows += line.at(320, row)[0] > 0 ? 1 : 0;
    EXPECT_EQ(rows, 3);
}

TEST_F(GlesDrawing, CallsBetweenPrimitivesApplyOnlyToThePrimitivesAfterThem)
{
    // Gathered primitives may be drawn together later, but a call between
    // two of them must still separate them: the first square is drawn in
    // the middle before the move, the second one off the picture.
    glColor3f(1.0f, 1.0f, 1.0f);
    square();
    glTranslatef(10.0f, 0.0f, 0.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    square();
    glLoadIdentity();
    const Picture picture = read();
    EXPECT_EQ(picture.at(320, 240)[1], 255);
    EXPECT_EQ(picture.litPixels(), 320 * 240);

    // Reading back sees primitives gathered just before.
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0.0f, 0.0f, 1.0f);
    square(GL_QUAD_STRIP);   // corners in strip order: a bow tie of two triangles
    square(GL_QUADS);
    EXPECT_EQ(read().at(320, 200)[2], 255);
}

// Filled primitives of every kind gathered into one batch, each with its
// flat colour on a different vertex: drawn through indices into the
// batch, each must still show its own flat colour where it lies.
TEST_F(GlesDrawing, MixedFilledPrimitivesInOneBatchKeepTheirPlacesAndFlatColours)
{
    glShadeModel(GL_FLAT);
    struct Corner {
        float x, y;
        float r, g, b;
    };
    const auto primitive = [](GLenum mode, std::initializer_list<Corner> corners) {
        glBegin(mode);
        for (const Corner& c : corners) {
            glColor3f(c.r, c.g, c.b);
            glVertex3f(c.x, c.y, 0.0f);
        }
        glEnd();
    };
    constexpr float h = 0.5f;   // a colour no check expects
    // Drawn first and off the picture, so the batch's vertices do not
    // begin where the drawing's buffers do.
    primitive(GL_TRIANGLES, {{2.0f, 2.0f, h, h, h}, {3.0f, 2.0f, h, h, h}, {2.0f, 3.0f, h, h, h}});
    glFlush();
    primitive(GL_TRIANGLES, {{-0.9f, -0.9f, h, h, h}, {-0.5f, -0.9f, h, h, h}, {-0.9f, -0.5f, 1, 0, 0}});
    // Each quad of a strip takes its last vertex's colour.
    primitive(GL_QUAD_STRIP, {{-0.4f, -0.9f, h, h, h},
                              {-0.4f, -0.5f, h, h, h},
                              {0.0f, -0.9f, h, h, h},
                              {0.0f, -0.5f, 0, 1, 0},
                              {0.4f, -0.9f, h, h, h},
                              {0.4f, -0.5f, 0, 0, 1}});
    primitive(GL_TRIANGLE_FAN, {{0.0f, 0.5f, h, h, h}, {-0.4f, 0.1f, h, h, h}, {0.4f, 0.1f, 1, 1, 0}});
    // A polygon takes its first vertex's.
    primitive(GL_POLYGON,
              {{-0.9f, 0.1f, 1, 0, 1}, {-0.5f, 0.1f, h, h, h}, {-0.5f, 0.5f, h, h, h}, {-0.9f, 0.5f, h, h, h}});
    primitive(GL_TRIANGLES, {{0.5f, 0.1f, h, h, h}, {0.9f, 0.1f, h, h, h}, {0.9f, 0.5f, 0, 1, 1}});
    const Picture picture = read();
    const struct {
        int x, y;
        std::tuple<int, int, int> expected;
    } checks[] = {
        {64, 48, {255, 0, 0}},      // the first triangle
        {256, 72, {0, 255, 0}},     // the strip's first quad
        {384, 72, {0, 0, 255}},     // its second
        {320, 295, {255, 255, 0}},  // the fan
        {96, 312, {255, 0, 255}},   // the polygon
        {576, 288, {0, 255, 255}},  // the last triangle
    };
    for (const auto& check : checks) {
        EXPECT_EQ(picture.rgbAt(check.x, check.y), check.expected) << "at " << check.x << "," << check.y;
    }
    // Nothing drawn but the six shapes: the two half squares, the strip's
    // two squares, the fan (a whole square's area) and the polygon's square.
    const int expected = 2 * (128 * 96 / 2) + 4 * (128 * 96);
    EXPECT_NEAR(picture.litPixels(), expected, 800);
}

// A strip whose vertices outnumber what 16-bit indices can name: only its
// last quad has an area, and it must be drawn from the strip's own last
// vertices.
TEST_F(GlesDrawing, QuadStripsLongerThanSixteenBitIndicesDrawTheirLastQuad)
{
    glShadeModel(GL_FLAT);
    constexpr int kPairs = 40000;
    glBegin(GL_QUAD_STRIP);
    glColor3f(1.0f, 0.0f, 0.0f);
    for (int i = 0; i < kPairs - 2; ++i) {
        glVertex3f(-0.5f, -0.5f, 0.0f);
        glVertex3f(-0.5f, -0.5f, 0.0f);
    }
    glVertex3f(-0.5f, -0.5f, 0.0f);
    glVertex3f(-0.5f, 0.5f, 0.0f);
    glVertex3f(0.5f, -0.5f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(0.5f, 0.5f, 0.0f);
    glEnd();
    const Picture picture = read();
    EXPECT_EQ(picture.rgbAt(320, 240), std::make_tuple(255, 255, 255));
    EXPECT_EQ(picture.litPixels(), 320 * 240);
}

TEST_F(GlesDrawing, MatrixPushesInsideListsHappenAtReplay)
{
    GLint before = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &before);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glPushMatrix();
    glEndList();
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, before);   // compiled, not run
    glCallList(list);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, before + 1);
    glPopMatrix();
    glDeleteLists(list, 1);
}

TEST_F(GlesDrawing, MatrixStackUnderflowIsReportedOnce)
{
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    ASSERT_EQ(depth, 2);   // the fixture's push
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopMatrix();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_STACK_UNDERFLOW));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glPushMatrix();   // for the fixture's pop
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(GlesDrawing, ListVerticesGivenBeforeTheListSetsAColourTakeTheColourCurrentAtReplay)
{
    const GLuint lists = glGenLists(2);
    glNewList(lists, GL_COMPILE);   // leaves red as the last colour recorded
    glColor3f(1.0f, 0.0f, 0.0f);
    square();
    glEndList();
    // One primitive: its left triangle before the list sets a colour, its
    // right one after.
    glNewList(lists + 1, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    glVertex3f(-0.9f, -0.5f, 0.0f);
    glVertex3f(-0.1f, -0.5f, 0.0f);
    glVertex3f(-0.5f, 0.5f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.1f, -0.5f, 0.0f);
    glVertex3f(0.9f, -0.5f, 0.0f);
    glVertex3f(0.5f, 0.5f, 0.0f);
    glEnd();
    glEndList();

    for (const auto& [r, g, b] : {std::tuple{0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f}}) {
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(r, g, b);
        glCallList(lists + 1);
        const Picture picture = read();
        const unsigned char* left = picture.at(160, 200);
        const unsigned char* right = picture.at(480, 200);
        EXPECT_EQ(left[0], r * 255) << "left triangle: red";
        EXPECT_EQ(left[1], g * 255) << "left triangle: green";
        EXPECT_EQ(left[2], b * 255) << "left triangle: blue";
        EXPECT_EQ(right[0], 0);
        EXPECT_EQ(right[1], 255);
        EXPECT_EQ(right[2], 0);
    }
    glDeleteLists(lists, 2);
}

TEST_F(GlesDrawing, QueriesWriteAsManyValuesAsTheNameHas)
{
    // One value: a single variable is all the room there is.
    GLdouble alignment = 0.0;
    glGetDoublev(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_GT(alignment, 0.0);

    constexpr GLdouble kUntouched = -7.0;
    for (const auto& [name, count] : {std::pair{GLenum{GL_PACK_ALIGNMENT}, 1}, {GLenum{GL_MAX_VIEWPORT_DIMS}, 2},
                                      {GLenum{GL_LINE_WIDTH}, 1}, {GLenum{GL_DEPTH_RANGE}, 2}}) {
        GLdouble values[16];
        std::fill(std::begin(values), std::end(values), kUntouched);
        glGetDoublev(name, values);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(values[i] == kUntouched, i >= count) << "value " << i << " of 0x" << std::hex << name;
    }
}

TEST_F(GlesDrawing, PoppedAttributesPutTheDepthRangeBack)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDepthRange(0.5, 1.0);
    GLfloat range[2] = {};
    glGetFloatv(GL_DEPTH_RANGE, range);
    EXPECT_EQ(range[0], 0.5f);
    glPopAttrib();
    glGetFloatv(GL_DEPTH_RANGE, range);
    EXPECT_EQ(range[0], 0.0f);
    EXPECT_EQ(range[1], 1.0f);

    // Back in the driver too: a square in the middle of the depth range
    // lies at depth 0.5, in front of a clear depth of 0.6; at 0.75 (the
    // range 0.5 to 1) it would be hidden.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearDepth(0.6);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    square();
    EXPECT_EQ(read().at(320, 240)[0], 255);
}

TEST_F(GlesDrawing, ClientAttributeStackRefusesPushesPastItsDepth)
{
    GLint most = 0;
    glGetIntegerv(GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, &most);
    ASSERT_GE(most, 16);
    int pushed = 0;
    for (; pushed < 1000; ++pushed) {
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            EXPECT_EQ(error, static_cast<GLenum>(GL_STACK_OVERFLOW));
            break;
        }
    }
    EXPECT_EQ(pushed, most);
    // The refused push left nothing to pop.
    for (int i = 0; i < pushed; ++i)
        glPopClientAttrib();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glPopClientAttrib();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_STACK_UNDERFLOW));
}


// The ES layer skips sending a uniform or binding a texture that the driver
// already has: a value set again after others must still reach the draw.
TEST_F(GlesDrawing, MaterialsAndTexturesSetBackAfterOthersAreDrawnWithAgain)
{
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);   // white, from the viewer
    const GLfloat red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat green[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    const auto litSquare = [](const GLfloat* diffuse) {
        glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        square();
        return read().brightestNear(320, 240, 0);
    };
    EXPECT_EQ(litSquare(red).r, 255);
    EXPECT_LT(litSquare(green).r, 20);   // only the ambient: 0.2 * 0.2
    // Another program in between (unlit), then the lit one again.
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.0f, 1.0f);
    square();
    glEnable(GL_LIGHTING);
    EXPECT_EQ(litSquare(red).r, 255);
    EXPECT_LT(litSquare(red).g, 20);
    glDisable(GL_LIGHTING);

    GLuint textures[2] = {};
    glGenTextures(2, textures);
    const unsigned char texels[2][4] = {{255, 0, 0, 255}, {0, 0, 255, 255}};
    for (int i = 0; i < 2; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels[i]);
    }
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    const auto texturedSquare = [](GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glBegin(GL_QUADS);
        for (auto [x, y] : {std::pair{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}}) {
            glTexCoord2f(x + 0.5f, y + 0.5f);
            glVertex3f(x, y, 0.0f);
        }
        glEnd();
        return read().brightestNear(320, 240, 0);
    };
    EXPECT_EQ(texturedSquare(textures[0]).r, 255);
    EXPECT_EQ(texturedSquare(textures[1]).b, 255);
    EXPECT_EQ(texturedSquare(textures[0]).b, 0);
    // A bound texture deleted leaves 0 bound; a new one (perhaps under the
    // same name) bound after it is the one drawn with.
    glDeleteTextures(1, &textures[0]);
    GLuint fresh = 0;
    glGenTextures(1, &fresh);
    glBindTexture(GL_TEXTURE_2D, fresh);
    const unsigned char greenTexel[4] = {0, 255, 0, 255};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, greenTexel);
    EXPECT_EQ(texturedSquare(fresh).g, 255);
    glDisable(GL_TEXTURE_2D);
    const GLuint rest[2] = {textures[1], fresh};
    glDeleteTextures(2, rest);
}

// Drawn as given one after the other, each with its own kind of vertex:
// the layer sends a streamed vertex with only what the state reads, so
// every change of state is a new vertex size and new attribute places.
TEST_F(GlesDrawing, StreamedVerticesOfEachKindKeepTheirOwnAttributes)
{
    const auto quad = [](float left, float right) {
        glBegin(GL_QUADS);
        for (auto [x, y] : {std::pair{left, -0.5f}, {right, -0.5f}, {right, 0.5f}, {left, 0.5f}}) {
            glTexCoord2f(0.5f, 0.5f);
            glNormal3f(0.0f, 0.0f, 1.0f);
            glVertex3f(x, y, 0.0f);
        }
        glEnd();
    };
    // Unlit: position and colour.
    glColor3f(0.0f, 0.0f, 1.0f);
    quad(-0.9f, -0.6f);
    // Lit: position and normal; the colour set meanwhile is not read.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, red);
    glColor3f(1.0f, 1.0f, 1.0f);
    quad(-0.5f, -0.2f);
    glDisable(GL_LIGHTING);
    // Textured: position, colour and texture coordinate.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char cyan[4] = {0, 255, 255, 255};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, cyan);
    glEnable(GL_TEXTURE_2D);
    glColor3f(0.0f, 1.0f, 1.0f);
    quad(-0.1f, 0.2f);
    glDisable(GL_TEXTURE_2D);
    // A list with no colour of its own, unlit after the lit draw above:
    // it takes the colour current now.
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    quad(0.3f, 0.6f);
    glEndList();
    glColor3f(1.0f, 1.0f, 0.0f);
    glCallList(list);
    glDeleteLists(list, 1);
    glDeleteTextures(1, &texture);

    const Picture picture = read();
    using Rgb = std::tuple<int, int, int>;
    EXPECT_EQ(picture.rgbAt(80, 240), (Rgb{0, 0, 255}));     // x -0.75
    EXPECT_EQ(picture.at(208, 240)[0], 255);   // x -0.35; green and blue only the ambient, 0.2 * 0.2
    EXPECT_LT(picture.at(208, 240)[1], 20);
    EXPECT_LT(picture.at(208, 240)[2], 20);
    EXPECT_EQ(picture.rgbAt(336, 240), (Rgb{0, 255, 255}));  // x 0.05
    EXPECT_EQ(picture.rgbAt(464, 240), (Rgb{255, 255, 0}));  // x 0.45
}

// A list of quads sharing their corners: the layer draws it through
// indices to its distinct vertices.  Flat shading still gives each quad its
// own last colour, filled and outlined, and the strip drawn after it takes
// its indices from the stream again, leaving the list's as they were.
TEST_F(GlesDrawing, ListsOfSharedCornersDrawEachPrimitiveWithItsOwnVertices)
{
    glShadeModel(GL_FLAT);
    const float colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const GLuint lists = glGenLists(2);
    const auto row = [&] {
        glBegin(GL_QUADS);
        for (int q = 0; q < 3; ++q) {
            const float left = -0.75f + 0.5f * static_cast<float>(q);
            glColor3f(1.0f, 1.0f, 1.0f);
            glVertex3f(left, -0.25f, 0.0f);
            glVertex3f(left + 0.5f, -0.25f, 0.0f);
            glVertex3f(left + 0.5f, 0.25f, 0.0f);
            glColor3f(colours[q][0], colours[q][1], colours[q][2]);
            glVertex3f(left, 0.25f, 0.0f);
        }
        glEnd();
    };
    // A list made and deleted first: its buffers go, and the next list's
    // may take their names.
    glNewList(lists, GL_COMPILE);
    row();
    glEndList();
    glDeleteLists(lists, 1);
    // Four times over: a list large enough to be drawn through indices.
    glNewList(lists + 1, GL_COMPILE);
    for (int i = 0; i < 4; ++i)
        row();
    glEndList();

    glCallList(lists + 1);
    Picture picture = read();
    using Rgb = std::tuple<int, int, int>;
    EXPECT_EQ(picture.rgbAt(160, 240), (Rgb{255, 0, 0}));   // x -0.5
    EXPECT_EQ(picture.rgbAt(320, 240), (Rgb{0, 255, 0}));   // x 0
    EXPECT_EQ(picture.rgbAt(480, 240), (Rgb{0, 0, 255}));   // x 0.5

    glClear(GL_COLOR_BUFFER_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glCallList(lists + 1);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    picture = read();
    EXPECT_EQ(picture.brightestNear(160, 180).r, 255);   // the first quad's bottom edge
    EXPECT_EQ(picture.brightestNear(160, 180).g, 0);
    EXPECT_EQ(picture.brightestNear(480, 300).b, 255);   // the last quad's top edge
    EXPECT_EQ(picture.brightestNear(480, 300).r, 0);

    // A strip after the list: through the stream's indices.
    glClear(GL_COLOR_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(-0.25f, -0.75f, 0.0f);
    glVertex3f(0.25f, -0.75f, 0.0f);
    glVertex3f(-0.25f, -0.5f, 0.0f);
    glVertex3f(0.25f, -0.5f, 0.0f);
    glEnd();
    picture = read();
    EXPECT_EQ(picture.rgbAt(320, 90), (Rgb{255, 255, 255}));   // y -0.625
    EXPECT_EQ(picture.litPixels(), 160 * 60);
    // And the list's own indices are as they were.
    glClear(GL_COLOR_BUFFER_BIT);
    glShadeModel(GL_FLAT);
    glCallList(lists + 1);
    picture = read();
    EXPECT_EQ(picture.rgbAt(160, 240), (Rgb{255, 0, 0}));
    EXPECT_EQ(picture.rgbAt(320, 240), (Rgb{0, 255, 0}));
    EXPECT_EQ(picture.rgbAt(480, 240), (Rgb{0, 0, 255}));
    EXPECT_EQ(picture.litPixels(), 480 * 120);
    glDeleteLists(lists + 1, 1);
}

}  // namespace
