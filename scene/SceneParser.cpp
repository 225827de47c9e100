#include "scene/SceneParser.h"

#include <cstring>

#include "assets/TextFields.h"

namespace {

constexpr double kDegreesPerRadian = 57.295780490442965;   // 180 / 3.1415926

// Fields of one repeated record, the least bytes each record can take: every
// field is at least its terminator.
constexpr std::uint64_t kVertexFields = 4;
constexpr std::uint64_t kFaceFields = 5;
constexpr std::uint64_t kTexFaceFields = 4;
constexpr std::uint64_t kNormalFields = 16;

class SceneReader {
public:
    SceneReader(const unsigned char* data, std::size_t size, Scene& scene, const SceneTextureHooks& hooks)
        : cursor_(data, size), scene_(scene), hooks_(hooks)
    {
    }

    bool read(std::string& problem);

private:
    bool fail(const std::string& what)
    {
        if (problem_.empty())
            problem_ = what;
        return false;
    }
    bool ok() const { return problem_.empty(); }

    // Every field read must begin inside the text and fit in 99 bytes.
    bool fieldAhead()
    {
        if (cursor_.atEnd())
            return fail("the text ends before its closing -1");
        return true;
    }
    bool fieldFitted()
    {
        if (cursor_.overlong)
            return fail("a field is longer than 99 bytes");
        return true;
    }
    int nextInt()
    {
        if (!ok() || !fieldAhead())
            return 0;
        const int value = readInt(cursor_);
        fieldFitted();
        return value;
    }
    float nextFloat()
    {
        if (!ok() || !fieldAhead())
            return 0.0f;
        const float value = readFloat(cursor_);
        fieldFitted();
        return value;
    }
    void nextText(char (&buffer)[kTextFieldBufferSize])
    {
        if (!ok() || !fieldAhead()) {
            std::memset(buffer, 0, sizeof buffer);
            return;
        }
        readText(cursor_, buffer);
        fieldFitted();
    }
    void nextVec3(float (&v)[3])
    {
        v[0] = nextFloat();
        v[1] = nextFloat();
        v[2] = nextFloat();
    }
    KeyVec3 nextKey()
    {
        KeyVec3 k;
        k.x = nextFloat();
        k.y = nextFloat();
        k.z = nextFloat();
        return k;
    }

    // A count of records that the rest of the text can hold at all; checked
    // before anything is allocated for them.
    bool countFits(std::int64_t count, std::uint64_t fieldsEach, const char* what)
    {
        if (!ok())
            return false;
        if (count < 0)
            return fail(std::string("negative ") + what + " count");
        const auto remaining = static_cast<std::uint64_t>(cursor_.end - cursor_.pos);
        if (static_cast<std::uint64_t>(count) * fieldsEach > remaining)
            return fail(std::string(what) + " count runs past the end of the text");
        return true;
    }

    void readTransform(NodeTransform& t);
    void readTrack(AnimTrack& track);
    void readMaterial();
    void readObject();
    void readLight();
    void readCamera();
    bool trackCoversFrames(bool hasTrack, const AnimTrack& track, const char* what);

    TextCursor cursor_;
    Scene& scene_;
    const SceneTextureHooks& hooks_;
    std::string problem_;
};

void SceneReader::readTransform(NodeTransform& t)
{
    for (auto& row : t.rows)
        nextVec3(row);
    t.position = nextKey();
    t.rotationAxis = nextKey();
    t.rotationAngle = nextFloat();
    t.scale = nextKey();
    t.scaleAxis = nextKey();
    t.scaleAxisAngle = nextFloat();
}

void SceneReader::readTrack(AnimTrack& track)
{
    // Position, rotation and scale, each present when its flag is 1; every
    // sub-track overwrites the track's count and step with its own.
    auto header = [&](std::uint64_t fieldsEach, const char* what) -> std::uint32_t {
        const int samples = nextInt();
        const int step = nextInt();
        if (samples < 0) {
            fail(std::string("negative ") + what + " sample count");
            return 0;
        }
        const std::uint32_t keys = sampledKeyCount(samples, step);
        if (!countFits(keys, fieldsEach, what))
            return 0;
        track.keyCount = keys;
        track.keyStep = step;
        return keys;
    };
    if (nextInt() == 1) {
        const std::uint32_t n = header(3, "position key");
        track.positionKeys.resize(n);
        for (std::uint32_t i = 0; i < n && ok(); ++i)
            track.positionKeys[i] = nextKey();
    }
    if (nextInt() == 1) {
        const std::uint32_t n = header(4, "rotation key");
        track.rotationKeys.resize(n);
        for (std::uint32_t i = 0; i < n && ok(); ++i) {
            RotationKey& r = track.rotationKeys[i];
            r.x = nextFloat();
            r.y = nextFloat();
            r.z = nextFloat();
            r.degrees = static_cast<float>(static_cast<double>(nextFloat()) * kDegreesPerRadian);
        }
    }
    if (nextInt() == 1) {
        const std::uint32_t n = header(7, "scale key");
        track.scaleKeys.resize(n);
        for (std::uint32_t i = 0; i < n && ok(); ++i) {
            track.scaleKeys[i] = nextKey();
            for (int j = 0; j < 4; ++j)
                nextFloat();   // the scale axis and its angle: not kept
        }
    }
}

void SceneReader::readMaterial()
{
    SceneMaterial m;
    nextInt();   // index: materials are numbered by their order
    nextText(m.name);
    nextVec3(m.ambient);
    nextVec3(m.diffuse);
    nextVec3(m.specular);
    m.shininess = nextFloat();
    m.shininessStrength = nextFloat();
    m.transparency = nextFloat();
    if (nextInt() != 0) {
        nextVec3(m.emission);
    } else {
        const float amount = nextFloat();   // self-illumination scales the diffuse colour
        for (int i = 0; i < 3; ++i)
            m.emission[i] = amount * m.diffuse[i];
    }
    m.wire = nextInt() == 1;
    if (nextInt() == 1 && ok()) {
        char textureFile[kTextFieldBufferSize];
        nextText(textureFile);
        m.envMap = nextInt() == 1;
        if (!ok())
            return;
        m.hasTexture = true;
        // Global state, outside any list: the only place the generation mode
        // is set; objects later just switch generation on and off.
        if (m.envMap && hooks_.enableSphereMap)
            hooks_.enableSphereMap();
        for (char* c = textureFile; *c != '\0'; ++c)
            if (*c >= 'a' && *c <= 'z')
                *c = static_cast<char>(*c - 'a' + 'A');
        if (hooks_.loadTexture)
            m.texture = hooks_.loadTexture(textureFile);
        m.uScale = nextFloat();
        m.vScale = nextFloat();
    }
    scene_.materials.push_back(m);
}

void SceneReader::readObject()
{
    scene_.objects.emplace_back();
    SceneObject& o = scene_.objects.back();
    nextText(o.name);
    readTransform(o.transform);
    o.hasTrack = nextInt() == 1;
    if (o.hasTrack)
        readTrack(o.track);
    o.smooth = nextInt() != 0;
    o.vertexCount = nextInt();
    o.faceCount = nextInt();
    if (!countFits(o.vertexCount, kVertexFields, "vertex"))
        return;
    std::vector<KeyVec3> vertices(static_cast<std::size_t>(o.vertexCount));
    for (KeyVec3& v : vertices) {
        nextInt();
        v = nextKey();
    }
    if (!countFits(o.faceCount, kFaceFields + kNormalFields, "face"))
        return;
    o.faces.resize(static_cast<std::size_t>(o.faceCount));
    for (SceneFace& f : o.faces) {
        nextInt();
        for (auto& corner : f.vertex) {
            const int index = nextInt();
            if (index < 0 || index >= o.vertexCount) {
                fail("a face names a vertex the object does not have");
                return;
            }
            const KeyVec3& v = vertices[static_cast<std::size_t>(index)];
            corner[0] = v.x;
            corner[1] = v.z;
            corner[2] = -v.y;
            corner[3] = 1.0f;
        }
        nextInt();
    }
    o.texVertexCount = nextInt();
    o.hasTexCoords = o.texVertexCount != 0;
    if (o.hasTexCoords) {
        if (!countFits(o.texVertexCount, kVertexFields, "texture vertex"))
            return;
        std::vector<KeyVec3> texVertices(static_cast<std::size_t>(o.texVertexCount));
        for (KeyVec3& t : texVertices) {
            nextInt();
            t = nextKey();
        }
        o.texFaceCount = nextInt();
        // Always one texture face per face, whatever texFaceCount says.
        if (!countFits(o.faceCount, kTexFaceFields + kNormalFields, "texture face"))
            return;
        for (SceneFace& f : o.faces) {
            nextInt();
            for (auto& corner : f.texCoord) {
                const int index = nextInt();
                if (index < 0 || index >= o.texVertexCount) {
                    fail("a texture face names a texture vertex the object does not have");
                    return;
                }
                const KeyVec3& t = texVertices[static_cast<std::size_t>(index)];
                corner[0] = t.x;
                corner[1] = t.y;
                corner[2] = t.z;
            }
        }
    }
    // Normals come in the node's own frame: turn them by the upper 3x3 (as
    // a row vector), then into display space.  They are not renormalised.
    const float(&r)[4][3] = o.transform.rows;
    auto rotated = [&](float (&out)[3]) {
        nextInt();
        const float nx = nextFloat(), ny = nextFloat(), nz = nextFloat();
        const float x = nx * r[0][0] + ny * r[1][0] + nz * r[2][0];
        const float y = nx * r[0][1] + ny * r[1][1] + nz * r[2][1];
        const float z = nx * r[0][2] + ny * r[1][2] + nz * r[2][2];
        out[0] = x;
        out[1] = z;
        out[2] = -y;
    };
    for (SceneFace& f : o.faces) {
        if (!ok())
            return;
        rotated(f.faceNormal);
        for (auto& n : f.vertexNormal)
            rotated(n);
    }
    if (nextInt() == 1) {
        o.hasMaterial = true;
        o.materialIndex = nextInt();
        if (ok() && (o.materialIndex < 0 || o.materialIndex >= static_cast<int>(scene_.materials.size())))
            fail("an object names a material the scene does not have");
    } else {
        nextVec3(o.colour);
    }
}

bool SceneReader::trackCoversFrames(bool hasTrack, const AnimTrack& track, const char* what)
{
    if (!ok() || !hasTrack || track.positionKeys.empty())
        return ok();
    if (track.positionKeys.size() < scene_.frameCount)
        return fail(std::string("a ") + what + " track is shorter than the scene");
    return true;
}

void SceneReader::readLight()
{
    if (scene_.lights.size() >= kMaxSceneLights) {
        fail("more than eight lights");
        return;
    }
    scene_.lights.emplace_back();
    SceneLight& l = scene_.lights.back();
    l.glLight = static_cast<GLenum>(GL_LIGHT0 + scene_.lights.size() - 1);
    nextText(l.name);
    readTransform(l.transform);
    l.hasTrack = nextInt() == 1;
    if (l.hasTrack)
        readTrack(l.track);
    trackCoversFrames(l.hasTrack, l.track, "light");
    l.type = nextInt();
    if (l.type == 1) {
        readTransform(l.targetTransform);
        l.hasTargetTrack = nextInt() == 1;
        if (l.hasTargetTrack)
            readTrack(l.targetTrack);
        trackCoversFrames(l.hasTargetTrack, l.targetTrack, "light target");
        l.coneAngle = nextFloat();
    }
    nextVec3(l.colour);
    l.enabled = true;
}

void SceneReader::readCamera()
{
    scene_.cameras.emplace_back();
    SceneCamera& c = scene_.cameras.back();
    nextText(c.name);
    readTransform(c.transform);
    c.hasTrack = nextInt() == 1;
    if (c.hasTrack)
        readTrack(c.track);
    trackCoversFrames(c.hasTrack, c.track, "camera");
    readTransform(c.targetTransform);
    c.hasTargetTrack = nextInt() == 1;
    if (c.hasTargetTrack)
        readTrack(c.targetTrack);
    trackCoversFrames(c.hasTargetTrack, c.targetTrack, "camera target");
}

bool SceneReader::read(std::string& problem)
{
    const int samples = nextInt();
    scene_.frameStep = nextInt();
    scene_.materialCount = nextInt();
    if (ok() && samples < 0)
        fail("negative sample count");
    scene_.frameCount = sampledKeyCount(samples, scene_.frameStep);
    // The smallest material block has 17 fields.
    if (countFits(scene_.materialCount, 17, "material")) {
        scene_.materials.reserve(static_cast<std::size_t>(scene_.materialCount));
        for (int i = 0; i < scene_.materialCount && ok(); ++i)
            readMaterial();
    }
    while (ok()) {
        const int tag = nextInt();
        if (!ok() || tag == -1)
            break;
        switch (tag) {
        case 0: readObject(); break;
        case 1: readLight(); break;
        case 2: readCamera(); break;
        default: break;   // unknown tags are skipped alone
        }
    }
    scene_.activeCamera = 0;
    problem = problem_;
    return ok();
}

}  // namespace

std::uint32_t sampledKeyCount(std::int32_t samples, std::int32_t step)
{
    const auto count = static_cast<std::uint32_t>(samples);
    const auto unsignedStep = static_cast<std::uint32_t>(step);
    return unsignedStep > 1 ? count / unsignedStep + 1 : count;
}

bool parseScene(const unsigned char* data, std::size_t size, Scene& scene, const SceneTextureHooks& hooks,
                std::string& problem)
{
    SceneReader reader(data, size, scene, hooks);
    return reader.read(problem);
}
