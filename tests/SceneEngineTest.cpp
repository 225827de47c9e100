#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstring>
#include <string>
#include <vector>

#include "app/PartRenderState.h"
#include "assets/Resources.h"
#include "scene/SceneParser.h"
#include "scene/SceneSet.h"
#include "tests/TestPlatform.h"

namespace {

struct Loaded {
    Scene scene;
    std::vector<std::string> textures;
    int sphereMaps = 0;
    bool ok = false;
};

Loaded loadResource(const char* name)
{
    Loaded loaded;
    SceneTextureHooks hooks;
    hooks.enableSphereMap = [&] { ++loaded.sphereMaps; };
    hooks.loadTexture = [&](const char* texture) {
        loaded.textures.push_back(texture);
        return 0u;
    };
    const Resource text = findResource("ZYT_SCENE", name);
    std::string problem;
    loaded.ok = text && parseScene(text.data, text.size, loaded.scene, hooks, problem);
    EXPECT_TRUE(loaded.ok) << name << ": " << problem;
    return loaded;
}

const SceneObject* findObject(const Scene& scene, const char* name)
{
    for (const SceneObject& o : scene.objects)
        if (std::strcmp(o.name, name) == 0)
            return &o;
    return nullptr;
}

void expectPosition(const KeyVec3& k, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(k.x, x);
    EXPECT_FLOAT_EQ(k.y, y);
    EXPECT_FLOAT_EQ(k.z, z);
}

TEST(SceneResources, EachSceneHasItsCountsAndAnimatedNodes)
{
    struct SceneCounts {
        const char* name;
        std::size_t materials, objects, lights, movingLights;
        std::vector<std::string> textures;
        int sphereMaps;
    };
    // The knot has an orbiting key light and a fill riding with the camera;
    // the town a lantern riding with the camera, its dark gates, lamp posts
    // and obelisks as one object, its pale gates as another, their lamps as
    // another, the bands on the gates' beams as two more and the temples'
    // inner walls as one.
    const SceneCounts table[] = {
        {"PART2_SCENE", 5, 19, 1, 0,
         {"ENVIBLUM.JPG", "TEMPELCOLUMN.JPG", "TEMPELGROUND.JPG", "TEMPELDECAL.JPG", "MTGROUND.JPG"}, 1},
        {"PART3_SCENE", 2, 2, 2, 2, {"MARMORIT.JPG", "PART3ENVI2.JPG"}, 1},
        {"PART9_SCENE", 8, 79, 2, 1,
         {"MGROUND.JPG", "MTGROUND.JPG", "MTCOLUMN.JPG", "MTROOF.JPG", "MTCOLUMN.JPG", "MTGROUND.JPG", "MTCOLUMN.JPG"},
         0},
        {"PART10_SCENE", 1, 1, 1, 0, {}, 0},
    };
    for (const SceneCounts& e : table) {
        SCOPED_TRACE(e.name);
        const Resource text = findResource("ZYT_SCENE", e.name);
        ASSERT_TRUE(text);
        // Written as the exporter writes: closed by "-1" CR LF, nothing after.
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data) + text.size - 5, 5), "\n-1\r\n");
        const Loaded l = loadResource(e.name);
        const Scene& s = l.scene;
        EXPECT_EQ(s.frameCount, 1201u);
        EXPECT_EQ(s.frameStep, 1);
        EXPECT_EQ(s.materials.size(), e.materials);
        EXPECT_EQ(s.objects.size(), e.objects);
        ASSERT_EQ(s.lights.size(), e.lights);
        for (const SceneLight& light : s.lights)
            EXPECT_NE(light.type, 1);   // omni
        ASSERT_EQ(s.cameras.size(), 1u);
        EXPECT_EQ(l.textures, e.textures);
        EXPECT_EQ(l.sphereMaps, e.sphereMaps);

        const SceneCamera& c = s.cameras[0];
        ASSERT_TRUE(c.hasTrack);
        EXPECT_EQ(c.track.positionKeys.size(), 1201u);
        EXPECT_EQ(c.track.rotationKeys.size(), std::string(e.name) == "PART3_SCENE" ? 0u : 1201u);
        EXPECT_TRUE(c.track.scaleKeys.empty());
        EXPECT_EQ(c.hasTargetTrack, std::string(e.name) != "PART10_SCENE");
        std::size_t movingLights = 0;
        for (const SceneLight& light : s.lights)
            movingLights += light.hasTrack;
        EXPECT_EQ(movingLights, e.movingLights);
        int animatedObjects = 0;
        for (const SceneObject& o : s.objects) {
            animatedObjects += o.hasTrack;
            EXPECT_TRUE(o.hasMaterial);
        }
        EXPECT_EQ(animatedObjects, std::string(e.name) == "PART3_SCENE" ? 1 : 0);
    }
}

TEST(SceneResources, TheTempleBeginsWithItsChromeMaterialAndLine01)
{
    const Loaded l = loadResource("PART2_SCENE");
    const SceneMaterial& m = l.scene.materials[0];
    EXPECT_STREQ(m.name, "Material #7");
    EXPECT_FLOAT_EQ(m.ambient[1], 0.1582f);
    EXPECT_FLOAT_EQ(m.shininess, 0.54f);
    EXPECT_FLOAT_EQ(m.shininessStrength, 0.84f);
    EXPECT_TRUE(m.envMap);
    EXPECT_STREQ(l.scene.materials[1].name, "Material #2");

    const SceneObject& line = l.scene.objects[0];
    EXPECT_STREQ(line.name, "Line01");
    EXPECT_STREQ(l.scene.objects[1].name, "Line02");
    EXPECT_FLOAT_EQ(line.transform.rows[0][0], 0.9990f);
    EXPECT_FLOAT_EQ(line.transform.rows[0][1], 0.0436f);
    EXPECT_FALSE(line.hasTrack);
    EXPECT_FALSE(line.smooth);
    EXPECT_EQ(line.vertexCount, 20);
    EXPECT_EQ(line.faceCount, 36);
    EXPECT_EQ(line.texVertexCount, 24);
    EXPECT_EQ(line.texFaceCount, 36);
    EXPECT_EQ(line.materialIndex, 0);
    const SceneFace& f = line.faces[0];
    EXPECT_FLOAT_EQ(f.vertex[0][0], 69.1564f);   // file (69.1564, 2.1613, 100)
    EXPECT_FLOAT_EQ(f.vertex[0][1], 100.0f);
    EXPECT_FLOAT_EQ(f.vertex[0][2], -2.1613f);

    const SceneCamera& c = l.scene.cameras[0];
    expectPosition(c.track.positionKeys[0], 1053.0469f, -1440.5504f, 234.7582f);
    expectPosition(c.targetTrack.positionKeys[0], -2.6579f, -0.0f, 131.0586f);
}

TEST(SceneResources, TheTorusKnotRestsAndTurnsAsAuthored)
{
    const Loaded l = loadResource("PART3_SCENE");
    const SceneObject* knot = findObject(l.scene, "Torus Knot01");
    ASSERT_NE(knot, nullptr);
    expectPosition(knot->transform.position, -0.5056f, -1470.8340f, -2.5170f);
    ASSERT_TRUE(knot->hasTrack);
    expectPosition(knot->track.positionKeys[100], -0.5056f, -1235.1721f, -2.5170f);
    const RotationKey& r0 = knot->track.rotationKeys[0];
    EXPECT_FLOAT_EQ(r0.x, -1.0f);
    EXPECT_FLOAT_EQ(r0.degrees, 90.000206f);
    const RotationKey& r = knot->track.rotationKeys[100];
    EXPECT_FLOAT_EQ(r.y, 0.4903f);
    EXPECT_FLOAT_EQ(r.degrees, 116.052605f);
    EXPECT_FLOAT_EQ(l.scene.materials[0].uScale, 10.0f);
    EXPECT_FLOAT_EQ(l.scene.materials[0].vScale, 1.3f);
    EXPECT_STREQ(l.scene.materials[1].name, "Material #2");
    EXPECT_FLOAT_EQ(l.scene.materials[1].transparency, 0.3f);
}

class SceneDrawing : public ::testing::Test {
protected:
    void SetUp() override { testPlatform(); }
};

TEST_F(SceneDrawing, MaterialListsSetAlphaExponentAndHighlightColour)
{
    Loaded temple = loadResource("PART2_SCENE");
    Loaded knot = loadResource("PART3_SCENE");
    temple.scene.buildDisplayLists();
    knot.scene.buildDisplayLists();

    GLfloat value[4];
    glCallList(temple.scene.materials[0].displayList);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, value);
    EXPECT_NEAR(value[0], 58.0608f, 1e-3);
    glGetMaterialfv(GL_BACK, GL_SPECULAR, value);
    EXPECT_NEAR(value[0], 0.916f, 1e-5);
    EXPECT_EQ(value[3], 1.0f);

    glCallList(knot.scene.materials[1].displayList);
    for (GLenum name : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        glGetMaterialfv(GL_FRONT, name, value);
        EXPECT_NEAR(value[3], 0.7f, 1e-6);
    }
    const SceneObject* tube = findObject(knot.scene, "Tube01");
    ASSERT_NE(tube, nullptr);
    EXPECT_TRUE(tube->transparent);
    EXPECT_FALSE(findObject(knot.scene, "Torus Knot01")->transparent);
    for (const SceneObject& o : temple.scene.objects) {
        EXPECT_FALSE(o.transparent);
        EXPECT_TRUE(o.textured);
    }

    SceneMaterial dull;
    dull.shininess = 0.25f;
    dull.shininessStrength = 0.05f;
    dull.compile();
    glCallList(dull.displayList);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, value);
    EXPECT_NEAR(value[0], 1.6f, 1e-5);
}

TEST_F(SceneDrawing, KnotFrame100TurnsAboutItsRestPosition)
{
    Loaded l = loadResource("PART3_SCENE");
    l.scene.buildDisplayLists();
    SceneObject knot = *findObject(l.scene, "Torus Knot01");
    // A list that pushes once leaves the animated matrix behind the object's
    // own pop, where it can be read.
    knot.displayList = glGenLists(1);
    glNewList(knot.displayList, GL_COMPILE);
    glPushMatrix();
    glEndList();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    knot.draw(100);
    GLfloat drawn[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, drawn);
    glPopMatrix();

    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -235.661865f);
    glTranslatef(-0.5056f, -2.5170f, 1470.8340f);
    glRotatef(116.052605f, 0.0303f, -0.8710f, -0.4903f);
    glTranslatef(0.5056f, 2.5170f, -1470.8340f);
    GLfloat expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(drawn[i], expected[i], 2e-3) << "element " << i;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));   // switched off after every object
}

TEST_F(SceneDrawing, FramePastTheEndDrawsNothingAndLightsFollowTheObjects)
{
    Loaded l = loadResource("PART2_SCENE");
    l.scene.buildDisplayLists();
    applyPartRenderState(2);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    l.scene.renderFrame(1201);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));

    l.scene.renderFrame(0);   // drawn unlit; its light is set afterwards
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    GLdouble expected[16];
    glLoadIdentity();
    gluLookAt(1053.0469, 234.7582, 1440.5504, -2.6579, 131.0586, 0.0, 0.0, 1.0, 0.0);
    glGetDoublev(GL_MODELVIEW_MATRIX, expected);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-3);
    GLfloat cutoff = 0;
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_EQ(cutoff, 180.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    l.scene.renderFrame(1200);   // the last sample is still drawn
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NE(m[12], expected[12]);
}

TEST_F(SceneDrawing, UnreadableScenesAreReportedAndDrawNothing)
{
    TestPlatform& platform = testPlatform();
    platform.messages.clear();
    SceneSet scenes;
    EXPECT_TRUE(createScene("NO_SUCH_SCENE", scenes));
    ASSERT_EQ(scenes.size(), 1u);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Error");
    EXPECT_NE(platform.messages[0].text.find("NO_SUCH_SCENE"), std::string::npos);
    EXPECT_EQ(scenes[0]->frameCount, 0u);
    EXPECT_TRUE(scenes[0]->objects.empty());
    glLoadIdentity();
    scenes[0]->buildDisplayLists();
    scenes[0]->renderFrame(0);
    renderSceneFrame(scenes, 7, 0);   // no such index
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f);
}

}  // namespace
