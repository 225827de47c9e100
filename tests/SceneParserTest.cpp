#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "scene/SceneParser.h"

namespace {

// Parses a copy of the text that ends exactly where the text does, so
// AddressSanitizer sees any read past the end.
struct Parsed {
    explicit Parsed(const std::string& text, const SceneTextureHooks& hooks = {})
        : bytes(new unsigned char[text.size() + 1])
    {
        std::memcpy(bytes.get(), text.data(), text.size());
        ok = parseScene(bytes.get(), text.size(), scene, hooks, problem);
    }
    std::unique_ptr<unsigned char[]> bytes;
    Scene scene;
    std::string problem;
    bool ok = false;
};

std::string node(const std::string& rows, const std::string& position)
{
    return rows + "0;0;0\r\n" + position + "\r\n0;0;1\r\n0.0000\r\n1;1;1\r\n0;0;0\r\n0\r\n";
}
const std::string kIdentity = "1;0;0\r\n0;1;0\r\n0;0;1\r\n";

std::string positionTrack(int samples, const std::string& key = "0;-100;0")
{
    std::string t = "1\r\n" + std::to_string(samples) + ";1\r\n";
    for (int i = 0; i < samples; ++i)
        t += key + "\r\n";
    return t + "0\r\n0\r\n";
}

std::string camera(const std::string& track = "")
{
    return "2\r\nCamera01\r\n" + node(kIdentity, "0;-100;0") + (track.empty() ? "0\r\n" : "1\r\n" + track) +
           node(kIdentity, "0;0;0") + "0\r\n";
}

std::string light(const std::string& name)
{
    return "1\r\n" + name + "\r\n" + node(kIdentity, "0;0;50") + "0\r\n0\r\n1;1;1\r\n";
}

// One triangle without texture vertices and without a material.
std::string triangle(const std::string& rows = kIdentity, const std::string& firstVertex = "1;2;3",
                     const std::string& indices = "0;1;2")
{
    return "0\r\nTri\r\n" + node(rows, "0;0;0") + "0\r\n0\r\n3\r\n1\r\n0;" + firstVertex +
           "\r\n1;4;5;6\r\n2;7;8;9\r\n0;" + indices + ";0\r\n0\r\n0;0;1;0\r\n0;0;0;1\r\n1;0;0;1\r\n2;1;0;0\r\n0\r\n"
           "0.2;0.4;0.6\r\n";
}

std::string plainMaterial(const std::string& emission = "0\r\n0.4")
{
    return "0\r\nMat\r\n0.1;0.1;0.1\r\n1;1;1\r\n0.9;0.9;0.9\r\n0.5\r\n0.5\r\n0\r\n" + emission + "\r\n0\r\n0\r\n";
}

std::string scene(const std::string& header, const std::string& body)
{
    return header + body + "-1\r\n";
}

TEST(SceneParser, FrameCountFollowsTheStepRule)
{
    EXPECT_EQ(sampledKeyCount(1201, 1), 1201u);
    EXPECT_EQ(sampledKeyCount(1201, 2), 601u);
    EXPECT_EQ(sampledKeyCount(1201, 0), 1201u);
    EXPECT_EQ(sampledKeyCount(10, 3), 4u);
    EXPECT_EQ(sampledKeyCount(10, -1), 1u);   // -1 taken unsigned is a huge step

    Parsed stepTwo(scene("1201;2\r\n0\r\n", camera()));
    ASSERT_TRUE(stepTwo.ok) << stepTwo.problem;
    EXPECT_EQ(stepTwo.scene.frameCount, 601u);
    EXPECT_EQ(stepTwo.scene.frameStep, 2);

    // Sub-tracks derive their key count the same way.
    std::string track = "1\r\n10;3\r\n";
    for (int i = 0; i < 4; ++i)
        track += "0;-100;0\r\n";
    track += "0\r\n0\r\n";
    Parsed keys(scene("10;3\r\n0\r\n", camera(track)));
    ASSERT_TRUE(keys.ok) << keys.problem;
    EXPECT_EQ(keys.scene.cameras[0].track.positionKeys.size(), 4u);
    EXPECT_EQ(keys.scene.cameras[0].track.keyCount, 4u);
}

TEST(SceneParser, ReadsBlocksSkippingUnknownTagsAndConvertsToDisplaySpace)
{
    Parsed p(scene("5;1\r\n1\r\n" + plainMaterial(), "3\r\n" + triangle() + "7\r\n" + camera()));
    ASSERT_TRUE(p.ok) << p.problem;
    ASSERT_EQ(p.scene.objects.size(), 1u);
    ASSERT_EQ(p.scene.cameras.size(), 1u);

    const SceneMaterial& m = p.scene.materials[0];
    EXPECT_FALSE(m.hasTexture);
    EXPECT_EQ(m.uScale, 1.0f);
    EXPECT_EQ(m.vScale, 1.0f);
    for (float e : m.emission)
        EXPECT_FLOAT_EQ(e, 0.4f);   // self-illumination 0.4 times diffuse 1

    const SceneObject& o = p.scene.objects[0];
    EXPECT_FALSE(o.hasTexCoords);
    EXPECT_FALSE(o.hasMaterial);
    EXPECT_FLOAT_EQ(o.colour[2], 0.6f);
    const float* v = o.faces[0].vertex[0];
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], 3.0f);
    EXPECT_EQ(v[2], -2.0f);
    EXPECT_EQ(v[3], 1.0f);
    // With the identity rows a normal (0, 1, 0) only changes space: (0, 0, -1).
    EXPECT_EQ(o.faces[0].faceNormal[1], 0.0f);
    EXPECT_EQ(o.faces[0].faceNormal[2], -1.0f);
}

TEST(SceneParser, NormalsTurnByTheNodeRowsButVerticesDoNot)
{
    // Rows of a quarter turn about z: x -> y, y -> -x.
    Parsed p(scene("1;1\r\n0\r\n", triangle("0;1;0\r\n-1;0;0\r\n0;0;1\r\n") + camera()));
    ASSERT_TRUE(p.ok) << p.problem;
    const SceneFace& f = p.scene.objects[0].faces[0];
    // File normal (0, 1, 0) -> (-1, 0, 0) in the file -> (-1, 0, 0) shown.
    EXPECT_EQ(f.faceNormal[0], -1.0f);
    EXPECT_EQ(f.faceNormal[2], 0.0f);
    // Corner a, file (0, 0, 1): unchanged by the turn, shown as (0, 1, 0).
    EXPECT_EQ(f.vertexNormal[0][1], 1.0f);
    EXPECT_EQ(f.vertex[0][0], 1.0f);   // the vertex keeps its place
}

TEST(SceneParser, RotationKeysAreStoredInDegreesAndLightsTakeUnitsInOrder)
{
    std::string track = "0\r\n1\r\n1;1\r\n1;0;0;1.5708\r\n0\r\n";
    std::string object = triangle();
    object.replace(object.find("0\r\n0\r\n3\r\n"), 6, "1\r\n" + track + "0\r\n");
    Parsed p(scene("1;1\r\n0\r\n", light("A") + object + light("B") + camera() + light("C")));
    ASSERT_TRUE(p.ok) << p.problem;
    ASSERT_TRUE(p.scene.objects[0].hasTrack);
    EXPECT_FLOAT_EQ(p.scene.objects[0].track.rotationKeys[0].degrees, 90.000206f);
    ASSERT_EQ(p.scene.lights.size(), 3u);
    EXPECT_EQ(p.scene.lights[2].glLight, static_cast<GLenum>(GL_LIGHT2));
    EXPECT_TRUE(p.scene.lights[2].enabled);
}

TEST(SceneParser, TexturedMaterialsUpperCaseTheirNamesAndSwitchOnTheSphereMap)
{
    std::vector<std::string> loaded;
    int sphereMaps = 0;
    SceneTextureHooks hooks;
    hooks.enableSphereMap = [&] { ++sphereMaps; };
    hooks.loadTexture = [&](const char* name) {
        loaded.push_back(name);
        return static_cast<GLuint>(40 + loaded.size());
    };
    const std::string mat = "0\r\nM\r\n0;0;0\r\n1;1;1\r\n0;0;0\r\n0\r\n0\r\n0\r\n1\r\n0.1;0.2;0.3\r\n1\r\n1\r\n";
    Parsed p("1;1\r\n2\r\n" + mat + "part3envi2.jpg\r\n1\r\n1.0;1.0\r\n" + mat +
             "Marmorit.jpg\r\n0\r\n10.0;1.3\r\n" + camera() + "-1\r\n", hooks);
    ASSERT_TRUE(p.ok) << p.problem;
    EXPECT_EQ(loaded, (std::vector<std::string>{"PART3ENVI2.JPG", "MARMORIT.JPG"}));
    EXPECT_EQ(sphereMaps, 1);
    const SceneMaterial& env = p.scene.materials[0];
    EXPECT_TRUE(env.envMap && env.wire && env.hasTexture);
    EXPECT_EQ(env.texture, 41u);
    EXPECT_FLOAT_EQ(env.emission[2], 0.3f);   // given as three values
    EXPECT_FLOAT_EQ(p.scene.materials[1].uScale, 10.0f);
    EXPECT_FLOAT_EQ(p.scene.materials[1].vScale, 1.3f);
}

TEST(SceneParser, RefusesTextsOutsideTheFormatsLimits)
{
    const std::string header = "1201;1\r\n0\r\n";
    const std::vector<std::pair<std::string, std::string>> broken = {
        {"no -1", header + camera()},
        {"face index past the vertices", scene(header, triangle(kIdentity, "1;2;3", "0;1;3") + camera())},
        {"negative index", scene(header, triangle(kIdentity, "1;2;3", "0;-1;2") + camera())},
        {"field over 99 bytes", scene(header, triangle(kIdentity, "1;2;" + std::string(100, '3')) + camera())},
        {"material past the array", scene("1;1\r\n1\r\n" + plainMaterial(),
                                          [] {
                                              std::string t = triangle();
                                              t.replace(t.rfind("0\r\n0.2;0.4;0.6"), 14, "1\r\n1");
                                              return t;
                                          }() + camera())},
        {"vertex count past the data", scene(header, "0\r\nX\r\n" + node(kIdentity, "0;0;0") +
                                                         "0\r\n0\r\n2000000000\r\n1\r\n")},
        {"negative face count", scene(header, "0\r\nX\r\n" + node(kIdentity, "0;0;0") + "0\r\n0\r\n0\r\n-1\r\n")},
        {"camera track shorter than the frames", scene("3;1\r\n0\r\n", camera(positionTrack(2)))},
        {"negative material count", scene("1;1\r\n-2\r\n", camera())},
    };
    for (const auto& [what, text] : broken) {
        Parsed p(text);
        EXPECT_FALSE(p.ok) << what;
        EXPECT_FALSE(p.problem.empty()) << what;
    }
    std::string nine;
    for (int i = 0; i < 9; ++i)
        nine += light("L" + std::to_string(i));
    Parsed lights(scene(header, nine + camera()));
    EXPECT_FALSE(lights.ok);
    EXPECT_EQ(lights.problem, "more than eight lights");

    Parsed fine(scene("3;1\r\n0\r\n", camera(positionTrack(3))));
    EXPECT_TRUE(fine.ok) << fine.problem;
}

TEST(SceneParser, EveryTruncationOfAValidTextIsRefused)
{
    const std::string text = scene("2;1\r\n1\r\n" + plainMaterial(), light("L") + triangle() + camera(positionTrack(2)));
    ASSERT_TRUE(Parsed(text).ok);
    // Cut anywhere before the closing -1, the text is refused (and never read
    // past its end, which AddressSanitizer would report).
    const std::size_t closing = text.size() - 4;
    for (std::size_t length = 0; length < closing; ++length)
        EXPECT_FALSE(Parsed(text.substr(0, length)).ok) << "length " << length;
}

}  // namespace
