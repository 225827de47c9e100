#include "scene/Scene.h"

// Material and mesh state is compiled once at start-up, so drawing an object
// costs one list call plus its animation transform.

void SceneMaterial::compile()
{
    const float alpha = 1.0f - transparency;
    const float s = shininessStrength;
    const GLfloat ambientRgba[4] = {ambient[0], ambient[1], ambient[2], alpha};
    const GLfloat diffuseRgba[4] = {diffuse[0], diffuse[1], diffuse[2], alpha};
    const GLfloat emissionRgba[4] = {emission[0], emission[1], emission[2], 1.0f};
    // The highlight colour is the specular colour blended towards the
    // diffuse colour by the highlight strength.
    GLfloat specularRgba[4];
    for (int i = 0; i < 3; ++i)
        specularRgba[i] = s * specular[i] + (1.0f - s) * diffuse[i];
    specularRgba[3] = alpha;

    displayList = glGenLists(1);
    glNewList(displayList, GL_COMPILE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambientRgba);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuseRgba);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emissionRgba);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess * s * 128.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specularRgba);
    if (hasTexture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    glEndList();
}

void SceneObject::compile(const std::vector<SceneMaterial>& materials)
{
    const SceneMaterial* m =
        hasMaterial && materialIndex >= 0 && static_cast<std::size_t>(materialIndex) < materials.size()
            ? &materials[static_cast<std::size_t>(materialIndex)]
            : nullptr;
    const bool emitTexCoords = m != nullptr && m->hasTexture && hasTexCoords;

    displayList = glGenLists(1);
    glNewList(displayList, GL_COMPILE);
    if (m != nullptr) {
        glCallList(m->displayList);
        if (m->wire)
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        if (emitTexCoords) {
            // The sphere-map mode itself was set while parsing.
            if (m->envMap) {
                glEnable(GL_TEXTURE_GEN_S);
                glEnable(GL_TEXTURE_GEN_T);
            } else {
                glDisable(GL_TEXTURE_GEN_S);
                glDisable(GL_TEXTURE_GEN_T);
            }
        }
    } else {
        const GLfloat diffuse[4] = {colour[0], colour[1], colour[2], 1.0f};
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    }
    for (const SceneFace& f : faces) {
        if (!smooth)
            glNormal3f(f.faceNormal[0], f.faceNormal[1], f.faceNormal[2]);
        glBegin(GL_TRIANGLES);
        for (int c = 0; c < 3; ++c) {
            if (smooth)
                glNormal3f(f.vertexNormal[c][0], f.vertexNormal[c][1], f.vertexNormal[c][2]);
            if (emitTexCoords)
                glTexCoord2f(f.texCoord[c][0] * m->uScale, f.texCoord[c][1] * m->vScale);
            glVertex4f(f.vertex[c][0], f.vertex[c][1], f.vertex[c][2], 1.0f);
        }
        glEnd();
    }
    if (m != nullptr && m->wire)
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEndList();
}

void Scene::buildDisplayLists()
{
    for (SceneMaterial& m : materials)
        m.compile();
    for (SceneObject& o : objects)
        o.compile(materials);
    for (SceneObject& o : objects) {
        o.transparent = false;
        o.textured = false;
        if (!o.hasMaterial || o.materialIndex < 0 || static_cast<std::size_t>(o.materialIndex) >= materials.size())
            continue;
        const SceneMaterial& m = materials[static_cast<std::size_t>(o.materialIndex)];
        o.transparent = 1.0f - m.transparency != 1.0f;
        o.textured = m.hasTexture;
    }
}
