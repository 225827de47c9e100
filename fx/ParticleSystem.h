#pragma once
#include <GL/gl.h>

#include <array>
#include <functional>
#include <vector>

#include "fx/DemoRandom.h"
#include "fx/Vec3.h"

// A fixed number of particles emitted at random points of a cube around an
// origin, optionally moving, ageing and re-emitted, drawn as points or as
// camera-facing quads with additive blending.  Configure by writing the
// fields, then call init().
class ParticleSystem {
public:
    enum State { kDead = 1, kAlive = 2 };

    ParticleSystem() = default;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    Vec3 origin{0.0f, 0.0f, 0.0f, 0.0f};      // centre of the emission cube and of the halo
    Vec3 direction{0.0f, 1.0f, 0.0f, 0.0f};   // base velocity, velocity mode 1
    Vec3 gravity{0.0f, 0.0f, 0.0f, 0.0f};     // added to every velocity per update
    float color[3] = {1.0f, 1.0f, 1.0f};
    int count = 100;
    int velocityMode = 2;    // 1 random about direction, 2 radial, 3 frozen
    int drawMode = 1;        // 1 points, 2 untextured quads, 3 textured quads
    int updateMode = 3;      // 1 age only, 2 die once, 3 re-emit
    int velocityShape = 1;   // variant 1 or 2 of velocity modes 1 and 2
    int lifeMode = 2;        // 1 fixed life, 2 random life
    int alphaMode = 2;       // 1 opacity follows remaining life, else constant alpha
    int haloMode = 2;        // 1 draws the halo (draw mode 3 only)
    float lifetime = 200.0f;
    float decay = 1.0f;
    float spread = 5.0f;
    float jitter = 0.0f;
    float size = 2.0f;       // point size, or quad edge length
    float speed = 1.0f;
    float alpha = 1.0f;
    float haloSize = 1.0f;

    std::vector<Vec3> positions;
    std::vector<Vec3> velocities;
    std::vector<float> lives;
    std::vector<int> states;
    GLuint texture = 0;

    // Where emission takes its random numbers: the demo's one shared
    // sequence, so the clouds come out the same on every run.
    std::function<int()> random = demo::rand;

    // The JPEG resource of that name as this system's texture.
    void loadTexture(const char* resourceName);
    // Allocates the particles and emits every one of them, alive.
    void init();
    // (Re)spawns particle i: position, velocity and life; its state stays.
    void emit(int i);
    // One simulation step (nothing at all in velocity mode 3).
    void update();
    // Draws with the modelview current at the call; leaves no display list.
    void draw() const;
    // The halo quad at the origin, facing the viewer through `billboard`.
    void drawHalo(const std::array<GLfloat, 16>& billboard) const;

    // One live particle as drawn: where it is and how opaque.
    struct Sprite {
        Vec3 position;
        float opacity;
    };
    // The live particles in index order, with their opacities.
    void collectSprites(std::vector<Sprite>& sprites) const;
    float opacityOf(int i) const;

private:
    int nextRandom() const;
    float randomPercent() const;      // one value modulo 100
    float randomDifference() const;   // two values, the first minus the second
    void emitVelocity(int i, float distance);
    void drawPoints() const;
    void drawQuads(bool textured) const;
};

// The billboard matrix for a modelview (both column-major): the transpose
// of its upper-left 3x3, no translation.  A quad in the xy plane drawn
// through it faces the viewer.
std::array<GLfloat, 16> billboardMatrix(const GLfloat modelview[16]);

// Part 4's cloud (200 glowing sprites with a halo) and the cloud of parts 10
// and 11 (500 small sprites).
extern ParticleSystem glowParticles;
extern ParticleSystem glow2Particles;

// The two clouds' fields as the demo uses them; configure leaves the
// texture and the particles alone.
void configureGlowParticles(ParticleSystem& system);
void configureGlow2Particles(ParticleSystem& system);
// Configure, texture and emit both clouds, glowParticles first: together
// they take the first 4900 values of the demo's random sequence.
void setUpParticleClouds();
