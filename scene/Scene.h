#pragma once
#include <GL/gl.h>
#include <cstdint>
#include <vector>

// The records of one loaded 3D scene.  Files are authored Z-up; mesh
// vertices and normals are converted to OpenGL's Y-up display space,
// (x, y, z) -> (x, z, -y), while parsing.  Transforms and animation keys
// stay in file space and are converted when drawn.

constexpr std::size_t kSceneNameSize = 100;   // 99 bytes of text and a zero
constexpr int kMaxSceneLights = 8;            // one OpenGL light unit each

struct KeyVec3 {
    float x, y, z;
};

struct RotationKey {
    float x, y, z;    // axis
    float degrees;    // stored in degrees, read in radians
};

// A node's 4x3 matrix (rows 0-2 rotate normals), its rest position and the
// stored but unused decomposition, in file order.
struct NodeTransform {
    float rows[4][3];
    KeyVec3 position;
    KeyVec3 rotationAxis;
    float rotationAngle;
    KeyVec3 scale;
    KeyVec3 scaleAxis;
    float scaleAxisAngle;
};

// One key per animation frame; a missing sub-track leaves its array empty.
// keyCount and keyStep are those of the sub-track read last.
struct AnimTrack {
    std::uint32_t keyCount = 0;
    std::int32_t keyStep = 0;
    std::vector<KeyVec3> positionKeys;
    std::vector<RotationKey> rotationKeys;
    std::vector<KeyVec3> scaleKeys;
};

struct SceneMaterial {
    char name[kSceneNameSize] = {};
    float ambient[3] = {};
    float diffuse[3] = {};
    float specular[3] = {};
    float shininess = 0.0f;           // glossiness as a fraction
    float shininessStrength = 0.0f;   // highlight strength as a fraction
    float transparency = 0.0f;        // 0 = opaque; else drawn additively
    float emission[3] = {};
    bool wire = false;
    bool hasTexture = false;
    bool envMap = false;              // texture applied as a sphere map
    GLuint texture = 0;
    float uScale = 1.0f;
    float vScale = 1.0f;
    GLuint displayList = 0;

    void compile();
};

// One triangle, in display space.
struct SceneFace {
    float vertex[3][4];
    float vertexNormal[3][3];
    float faceNormal[3];
    float texCoord[3][3];   // (u, v, w); only set when the object has texture coordinates
};

struct SceneObject {
    char name[kSceneNameSize] = {};
    std::int32_t vertexCount = 0;
    std::int32_t faceCount = 0;
    std::int32_t texVertexCount = 0;
    std::int32_t texFaceCount = 0;
    NodeTransform transform{};
    AnimTrack track;
    bool hasTrack = false;
    std::vector<SceneFace> faces;
    bool hasMaterial = false;
    bool hasTexCoords = false;
    bool smooth = false;               // per-corner normals, else one per face
    std::int32_t materialIndex = 0;
    float colour[3] = {};              // diffuse colour when there is no material
    bool textured = false;             // 2D texturing around the object's list
    bool transparent = false;          // drawn in the additive pass
    GLuint displayList = 0;

    void compile(const std::vector<SceneMaterial>& materials);
    void draw(std::uint32_t frame) const;
};

struct SceneLight {
    char name[kSceneNameSize] = {};
    GLenum glLight = GL_LIGHT0;
    std::int32_t type = 0;             // 1 = targeted spot, else omni
    float coneAngle = 0.0f;            // full cone, degrees
    float colour[3] = {};
    NodeTransform transform{};
    NodeTransform targetTransform{};   // spot lights only
    AnimTrack track;
    AnimTrack targetTrack;
    bool hasTrack = false;
    bool hasTargetTrack = false;
    bool enabled = true;

    void apply(std::uint32_t frame) const;
};

struct SceneCamera {
    char name[kSceneNameSize] = {};
    NodeTransform transform{};         // eye
    NodeTransform targetTransform{};   // look-at point
    AnimTrack track;
    AnimTrack targetTrack;
    bool hasTrack = false;
    bool hasTargetTrack = false;

    void apply(std::uint32_t frame) const;
};

struct Scene {
    std::int32_t materialCount = 0;
    std::uint32_t frameCount = 0;      // 0 for a scene that could not be read
    std::int32_t frameStep = 0;
    std::int32_t activeCamera = 0;
    std::vector<SceneObject> objects;
    std::vector<SceneLight> lights;
    std::vector<SceneCamera> cameras;
    std::vector<SceneMaterial> materials;

    // Compiles the material lists, then the object lists, then sets each
    // object's transparent and textured flags from its material.
    void buildDisplayLists();
    // Camera, opaque objects, additive transparent objects, then the lights
    // (which therefore light the next call's objects).  A frame at or past
    // frameCount draws nothing.
    void renderFrame(std::uint32_t frame) const;
    // Sets the lights as renderFrame(frame) leaves them, drawing nothing and
    // keeping the modelview: for a frame drawn after another than the one
    // before it.
    void placeLights(std::uint32_t frame) const;

private:
    bool hasView(std::uint32_t frame) const;
    void applyLights(std::uint32_t frame) const;
};
