#include "app/WarmUp.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <array>
#include <vector>

#include "app/PartRenderState.h"
#include "app/Timeline.h"
#include "fx/Cloth.h"
#include "fx/DemoRandom.h"
#include "fx/ParticleSystem.h"
#include "parts/Part10TorusChain.h"
#include "parts/Part2Temple.h"
#include "parts/Part6RadialGlow.h"
#include "parts/Part7RipplingCloth.h"
#include "parts/Part8Metaballs.h"

namespace {

// Small: the driver's code depends on the state and the buffer formats, not
// on the size, and a small target keeps the drawing cheap.
constexpr int kTargetWidth = 160;
constexpr int kTargetHeight = 120;

// Part times (5 ms ticks) each part is drawn at: its first frames, then
// spread over its length (parts run up to about 5100 ticks) so that fades
// and overlays that begin later are met too.
constexpr int kPartTimes[] = {0, 1, 2, 60, 150, 300, 600, 1000, 1500, 2100, 2800, 3600, 4400, 5100};

struct ParticleState {
    std::vector<Vec3> positions;
    std::vector<Vec3> velocities;
    std::vector<float> lives;
    std::vector<int> states;
};

ParticleState saveParticles(const ParticleSystem& system)
{
    return {system.positions, system.velocities, system.lives, system.states};
}

void restoreParticles(ParticleSystem& system, const ParticleState& state)
{
    system.positions = state.positions;
    system.velocities = state.velocities;
    system.lives = state.lives;
    system.states = state.states;
}

// Everything the parts' drawing changes outside OpenGL.
struct EffectState {
    ParticleState glow;
    ParticleState glow2;
    Cloth cloth;
    ClothImpulses impulses;
    Part2Flashes flashes;
    float torus = 0.0f;
    std::array<MetaBall, kMetaBallCount> balls;
    std::vector<float> field;
    RandomSequence random;
};

EffectState saveEffects()
{
    EffectState saved;
    saved.glow = saveParticles(glowParticles);
    saved.glow2 = saveParticles(glow2Particles);
    saved.cloth = theCloth;
    saved.impulses = part7Impulses;
    saved.flashes = part2Flashes;
    saved.torus = torusAngle;
    std::copy(std::begin(metaBalls), std::end(metaBalls), saved.balls.begin());
    saved.field.assign(std::begin(metaballField), std::end(metaballField));
    saved.random = demo::sequence();
    return saved;
}

void restoreEffects(const EffectState& saved)
{
    restoreParticles(glowParticles, saved.glow);
    restoreParticles(glow2Particles, saved.glow2);
    theCloth = saved.cloth;
    part7Impulses = saved.impulses;
    part2Flashes = saved.flashes;
    torusAngle = saved.torus;
    std::copy(saved.balls.begin(), saved.balls.end(), std::begin(metaBalls));
    std::copy(saved.field.begin(), saved.field.end(), std::begin(metaballField));
    demo::sequence() = saved.random;
}

// The OpenGL state the parts change: every attribute group, the client
// arrays, the three matrices and the framebuffer bindings.  Matrices are
// kept by value so the stacks' depth plays no part.
class SavedGlState {
public:
    SavedGlState()
    {
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode_);
        for (int i = 0; i < 3; ++i)
            glGetFloatv(kMatrixQueries[i], matrices_[i].data());
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer_);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer_);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    }
    ~SavedGlState()
    {
        // The framebuffers first: the draw buffer put back with the colour
        // attributes names an attachment only the picture's framebuffer has.
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer_));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer_));
        glPopClientAttrib();
        glPopAttrib();
        for (int i = 0; i < 3; ++i) {
            glMatrixMode(kMatrixModes[i]);
            glLoadMatrixf(matrices_[i].data());
        }
        glMatrixMode(static_cast<GLenum>(matrixMode_));
    }
    SavedGlState(const SavedGlState&) = delete;
    SavedGlState& operator=(const SavedGlState&) = delete;

private:
    static constexpr GLenum kMatrixModes[3] = {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE};
    static constexpr GLenum kMatrixQueries[3] = {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX, GL_TEXTURE_MATRIX};
    GLint matrixMode_ = GL_MODELVIEW;
    std::array<std::array<GLfloat, 16>, 3> matrices_{};
    GLint drawFramebuffer_ = 0;
    GLint readFramebuffer_ = 0;
};

// A framebuffer with the persistent picture's formats (RGBA8, 24-bit
// depth), bound for drawing while it lives.
class WarmUpTarget {
public:
    WarmUpTarget()
    {
        glGenRenderbuffers(2, renderbuffers_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kTargetWidth, kTargetHeight);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kTargetWidth, kTargetHeight);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
        complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    ~WarmUpTarget()
    {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(2, renderbuffers_);
    }
    WarmUpTarget(const WarmUpTarget&) = delete;
    WarmUpTarget& operator=(const WarmUpTarget&) = delete;
    bool complete() const { return complete_; }

private:
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {0, 0};
    bool complete_ = false;
};

// Part 2 shows its cards and white flashes only after a flash of the
// music; every state it draws with is met by pretending flashes.
void pretendFlash(int partNumber, int round, int partTime)
{
    if (partNumber == 2)
        part2Flashes = {round % 4, partTime};
}

void drawEveryPart()
{
    for (int part = 1; part <= 11; ++part) {
        applyPartRenderState(part);
        glViewport(0, 0, kTargetWidth, kTargetHeight);
        int round = 0;
        for (int partTime : kPartTimes) {
            pretendFlash(part, round++, partTime);
            drawPartFrame(part, partTime, nullptr);
        }
    }
    // Drawing may be queued; the code is built by the time it is done.
    glFinish();
}

}  // namespace

void warmUpParts()
{
    // Without framebuffer objects the demo draws into the window itself and
    // there is no target to warm up in.
    GLint picture = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &picture);
    if (picture == 0)
        return;
    const EffectState effects = saveEffects();
    {
        const SavedGlState gl;
        const WarmUpTarget target;
        if (target.complete())
            drawEveryPart();
    }
    restoreEffects(effects);
}

void warmUpPartsAhead()
{
    const RandomSequence random = demo::sequence();
    setUpParticleClouds();
    buildBlurGrid(theBlurGrid);
    setUpCloth(theCloth);
    initMetaBalls();
    warmUpParts();
    // The set-up after the music loads the particles' textures again.
    for (ParticleSystem* cloud : {&glowParticles, &glow2Particles}) {
        glDeleteTextures(1, &cloud->texture);
        cloud->texture = 0;
    }
    demo::sequence() = random;
}
