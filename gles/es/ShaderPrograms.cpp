#include "gles/es/ShaderPrograms.h"

#include <cstdio>
#include <string>

#include "gles/ShaderSource.h"
#include "gles/es/EsFunctions.h"

namespace {

GLuint compile(GLenum stage, const std::string& source)
{
    const GLuint shader = es.CreateShader(stage);
    const GLchar* text = source.c_str();
    es.ShaderSource(shader, 1, &text, nullptr);
    es.CompileShader(shader);
    GLint compiled = GL_FALSE;
    es.GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE)
        return shader;
    char log[2048] = {};
    es.GetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "quittenhain: OpenGL ES layer: a generated shader does not compile:\n%s\n%s\n", log,
                 source.c_str());
    es.DeleteShader(shader);
    return 0;
}

GLuint link(const ShaderKey& key)
{
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexShaderSource(key));
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentShaderSource(key));
    if (vertex == 0 || fragment == 0) {
        if (vertex != 0)
            es.DeleteShader(vertex);
        if (fragment != 0)
            es.DeleteShader(fragment);
        return 0;
    }
    const GLuint program = es.CreateProgram();
    es.AttachShader(program, vertex);
    es.AttachShader(program, fragment);
    es.LinkProgram(program);
    es.DeleteShader(vertex);   // freed with the program
    es.DeleteShader(fragment);
    GLint linked = GL_FALSE;
    es.GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE)
        return program;
    char log[2048] = {};
    es.GetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "quittenhain: OpenGL ES layer: a generated program does not link:\n%s\n", log);
    es.DeleteProgram(program);
    return 0;
}

void locate(ShaderProgram& p)
{
    const GLuint program = p.program;
    p.modelview.location = es.GetUniformLocation(program, "uModelview");
    p.modelviewProjection.location = es.GetUniformLocation(program, "uModelviewProjection");
    p.normalMatrix.location = es.GetUniformLocation(program, "uNormalMatrix");
    p.sceneColour.location = es.GetUniformLocation(program, "uSceneColour");
    p.shininess.location = es.GetUniformLocation(program, "uShininess");
    p.lightPosition.location = es.GetUniformLocation(program, "uLightPosition");
    p.lightHalf.location = es.GetUniformLocation(program, "uLightHalf");
    p.lightAmbient.location = es.GetUniformLocation(program, "uLightAmbient");
    p.lightDiffuse.location = es.GetUniformLocation(program, "uLightDiffuse");
    p.lightSpecular.location = es.GetUniformLocation(program, "uLightSpecular");
    p.lightSpot.location = es.GetUniformLocation(program, "uLightSpot");
    p.lightAttenuation.location = es.GetUniformLocation(program, "uLightAttenuation");
    p.pointSize.location = es.GetUniformLocation(program, "uPointSize");
    p.viewportHalf.location = es.GetUniformLocation(program, "uViewportHalf");
    p.lineHalfWidth.location = es.GetUniformLocation(program, "uLineHalfWidth");
    p.fogColour.location = es.GetUniformLocation(program, "uFogColour");
    p.fogParameters.location = es.GetUniformLocation(program, "uFogParameters");
}

}  // namespace

ShaderProgram& ShaderPrograms::programFor(const ShaderKey& key, GLuint& used)
{
    const auto make = [&key] {
        ShaderProgram created;
        created.program = link(key);
        if (created.program != 0)
            locate(created);
        return created;
    };
    const auto drop = [&used](const ShaderProgram& dropped) {
        if (dropped.program == 0)
            return;
        es.DeleteProgram(dropped.program);
        if (dropped.program == used)
            used = 0;
    };
    return programs_.get(key, make, drop);
}
