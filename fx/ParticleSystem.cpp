#include "fx/ParticleSystem.h"

#include <cmath>

#include "assets/JpegTexture.h"
#include "fx/PixelScale.h"

ParticleSystem glowParticles;
ParticleSystem glow2Particles;

namespace {

const GLfloat kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// The quad of edge 2h in the xy plane, textured 0..1 when asked, compiled
// into a fresh display list.
GLuint compileQuad(float h, GLuint texture, bool textured, bool withNormal)
{
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    if (textured)
        glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    if (withNormal)
        glNormal3f(0.0f, 0.0f, 1.0f);
    const GLfloat corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
    const GLfloat texCoords[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    for (int i = 0; i < 4; ++i) {
        if (textured)
            glTexCoord2f(texCoords[i][0], texCoords[i][1]);
        glVertex3f(corners[i][0], corners[i][1], 0.0f);
    }
    glEnd();
    glEndList();
    return list;
}

std::array<GLfloat, 16> currentBillboard()
{
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    return billboardMatrix(modelview);
}

void beginAdditive()
{
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

}  // namespace

std::array<GLfloat, 16> billboardMatrix(const GLfloat m[16])
{
    return {m[0], m[4], m[8], 0.0f, m[1], m[5], m[9], 0.0f, m[2], m[6], m[10], 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
}

void ParticleSystem::loadTexture(const char* resourceName)
{
    loadJpegTexture(texture, resourceName);
}

int ParticleSystem::nextRandom() const
{
    return random ? random() : demo::rand();
}

float ParticleSystem::randomPercent() const
{
    return static_cast<float>(nextRandom() % 100);
}

float ParticleSystem::randomDifference() const
{
    const float minuend = randomPercent();
    return minuend - randomPercent();
}

void ParticleSystem::init()
{
    const auto n = static_cast<std::size_t>(count > 0 ? count : 0);
    positions.assign(n, Vec3{});
    velocities.assign(n, Vec3{});
    lives.assign(n, 0.0f);
    states.assign(n, kAlive);
    for (std::size_t i = 0; i < n; ++i)
        emit(static_cast<int>(i));
}

void ParticleSystem::emit(int i)
{
    Vec3& p = positions[static_cast<std::size_t>(i)];
    p.x = randomDifference() * spread * 0.01f + origin.x;
    p.y = randomDifference() * spread * 0.01f + origin.y;
    p.z = randomDifference() * spread * 0.01f + origin.z;
    emitVelocity(i, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));

    float& life = lives[static_cast<std::size_t>(i)];
    if (lifeMode == 1)
        life = lifetime;
    else if (lifeMode == 2)
        life = randomPercent() * lifetime * 0.01f;
}

void ParticleSystem::emitVelocity(int i, float distance)
{
    const Vec3 p = positions[static_cast<std::size_t>(i)];
    Vec3& v = velocities[static_cast<std::size_t>(i)];
    if (velocityMode == 2 && velocityShape == 1) {
        // A particle born exactly at the world origin has no direction to
        // fly off in; it stays put instead of getting a NaN velocity.
        v = distance > 0.0f ? (p - origin) / distance * speed : Vec3{};
    } else if (velocityMode == 2 && velocityShape == 2) {
        v = (p - origin) / spread * speed;
    } else if (velocityMode == 1 && (velocityShape == 1 || velocityShape == 2)) {
        const float scale = velocityShape == 2 ? randomPercent() * 0.01f : 1.0f;
        v.x = (randomDifference() * 0.01f * jitter + direction.x) * speed * scale;
        v.y = (randomDifference() * 0.01f * jitter + direction.y) * speed * scale;
        v.z = (randomDifference() * 0.01f * jitter + direction.z) * speed * scale;
    }
}

void ParticleSystem::update()
{
    if (velocityMode == 3)
        return;
    for (Vec3& v : velocities) {
        v.x += gravity.x;
        v.y += gravity.y;
        v.z += gravity.z;
    }
    for (std::size_t i = 0; i < positions.size(); ++i) {
        Vec3& p = positions[i];
        const Vec3 v = velocities[i];
        if (updateMode == 1) {
            p.x += v.x, p.y += v.y, p.z += v.z;
            if (lives[i] > 0.0f)
                lives[i] -= decay;
        } else if (updateMode == 2) {
            if (lives[i] > 0.0f && states[i] == kAlive) {
                p.x += v.x, p.y += v.y, p.z += v.z;
                lives[i] -= decay;
            } else {
                states[i] = kDead;
            }
        } else if (updateMode == 3) {
            p.x += v.x, p.y += v.y, p.z += v.z;
            if (lives[i] > 0.0f)
                lives[i] -= decay;
            else
                emit(static_cast<int>(i));
        }
    }
}

float ParticleSystem::opacityOf(int i) const
{
    return alphaMode == 1 ? lives[static_cast<std::size_t>(i)] / lifetime : alpha;
}

void ParticleSystem::collectSprites(std::vector<Sprite>& sprites) const
{
    sprites.clear();
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i] == kAlive)
            sprites.push_back({positions[i], opacityOf(static_cast<int>(i))});
    }
}

void ParticleSystem::draw() const
{
    if (drawMode == 1)
        drawPoints();
    else if (drawMode == 2 || drawMode == 3)
        drawQuads(drawMode == 3);
}

void ParticleSystem::drawPoints() const
{
    glPointSize(size * pixelScale());
    const GLfloat emission[4] = {color[0], color[1], color[2], 1.0f};
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glBegin(GL_POINTS);
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i] == kAlive)
            glVertex3f(positions[i].x, positions[i].y, positions[i].z);
    }
    glEnd();
    glMaterialfv(GL_FRONT, GL_EMISSION, kBlack);
}

void ParticleSystem::drawQuads(bool textured) const
{
    const GLuint quad = compileQuad(size * 0.5f, texture, textured, true);
    const std::array<GLfloat, 16> billboard = currentBillboard();
    if (textured && haloMode == 1)
        drawHalo(billboard);

    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    beginAdditive();
    if (textured)
        glMaterialfv(GL_FRONT, GL_EMISSION, kWhite);

    std::vector<Sprite> sprites;
    collectSprites(sprites);
    for (const Sprite& sprite : sprites) {
        glPushMatrix();
        const GLfloat diffuse[4] = {color[0], color[1], color[2], sprite.opacity};
        glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        glTranslatef(sprite.position.x, sprite.position.y, sprite.position.z);
        glMultMatrixf(billboard.data());
        glCallList(quad);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, kBlack);
        glPopMatrix();
    }

    if (textured)
        glMaterialfv(GL_FRONT, GL_EMISSION, kBlack);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    if (textured)
        glDisable(GL_TEXTURE_2D);
    glDeleteLists(quad, 1);
}

void ParticleSystem::drawHalo(const std::array<GLfloat, 16>& billboard) const
{
    const GLuint quad = compileQuad(haloSize * 0.5f, texture, true, false);
    glEnable(GL_TEXTURE_2D);
    beginAdditive();
    glMaterialfv(GL_FRONT, GL_EMISSION, kWhite);
    glPushMatrix();
    glTranslatef(origin.x, origin.y, origin.z);
    glMultMatrixf(billboard.data());
    glCallList(quad);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kBlack);
    glPopMatrix();
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glDisable(GL_TEXTURE_2D);
    glDeleteLists(quad, 1);
}

void configureGlowParticles(ParticleSystem& system)
{
    system.count = 200;
    system.velocityMode = 3;
    system.drawMode = 3;
    system.lifeMode = 2;
    system.alphaMode = 1;
    system.haloMode = 1;
    system.lifetime = 1000.0f;
    system.size = 1.0f;
    system.haloSize = 10.0f;
    system.spread = 5.0f;
    system.speed = 15.0f;
    system.jitter = 0.0f;
    system.direction = {0.0f, 0.0f, 1.0f, 0.0f};
}

void configureGlow2Particles(ParticleSystem& system)
{
    system.count = 500;
    system.velocityMode = 3;
    system.drawMode = 3;
    system.lifeMode = 2;
    system.alphaMode = 1;
    system.lifetime = 200.0f;
    system.size = 0.2f;
    system.spread = 7.0f;
    system.speed = 0.02f;
    system.jitter = 0.5f;
}

void setUpParticleClouds()
{
    configureGlowParticles(glowParticles);
    glowParticles.loadTexture("GLOW.JPG");
    glowParticles.init();
    configureGlow2Particles(glow2Particles);
    glow2Particles.loadTexture("GLOW2.JPG");
    glow2Particles.init();
}
