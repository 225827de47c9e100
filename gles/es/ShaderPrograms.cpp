#include "gles/es/ShaderPrograms.h"

#include <cstdio>
#include <string>

#include "gles/ShaderSource.h"
#include "gles/es/EsFunctions.h"

namespace {

GLuint compile(GLenum stage, const std::string& source)
{
    const GLuint shader = esDriver.CreateShader(stage);
    const GLchar* text = source.c_str();
    esDriver.ShaderSource(shader, 1, &text, nullptr);
    esDriver.CompileShader(shader);
    GLint compiled = GL_FALSE;
    esDriver.GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE)
        return shader;
    char log[2048] = {};
    esDriver.GetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "quittenhain: OpenGL ES layer: a generated shader does not compile:\n%s\n%s\n", log,
                 source.c_str());
    esDriver.DeleteShader(shader);
    return 0;
}

GLuint link(const ShaderKey& key)
{
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexShaderSource(key));
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentShaderSource(key));
    if (vertex == 0 || fragment == 0) {
        if (vertex != 0)
            esDriver.DeleteShader(vertex);
        if (fragment != 0)
            esDriver.DeleteShader(fragment);
        return 0;
    }
    const GLuint program = esDriver.CreateProgram();
    esDriver.AttachShader(program, vertex);
    esDriver.AttachShader(program, fragment);
    esDriver.LinkProgram(program);
    esDriver.DeleteShader(vertex);   // freed with the program
    esDriver.DeleteShader(fragment);
    GLint linked = GL_FALSE;
    esDriver.GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE)
        return program;
    char log[2048] = {};
    esDriver.GetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "quittenhain: OpenGL ES layer: a generated program does not link:\n%s\n", log);
    esDriver.DeleteProgram(program);
    return 0;
}

void locate(ShaderProgram& p)
{
    const GLuint program = p.program;
    p.transform.location = esDriver.GetUniformLocation(program, "uTransform");
    p.normalMatrix.location = esDriver.GetUniformLocation(program, "uNormalMatrix");
    p.sceneColour.location = esDriver.GetUniformLocation(program, "uSceneColour");
    p.shininess.location = esDriver.GetUniformLocation(program, "uShininess");
    p.lightPosition.location = esDriver.GetUniformLocation(program, "uLightPosition");
    p.lightHalf.location = esDriver.GetUniformLocation(program, "uLightHalf");
    p.lightAmbient.location = esDriver.GetUniformLocation(program, "uLightAmbient");
    p.lightDiffuse.location = esDriver.GetUniformLocation(program, "uLightDiffuse");
    p.lightSpecular.location = esDriver.GetUniformLocation(program, "uLightSpecular");
    p.lightSpot.location = esDriver.GetUniformLocation(program, "uLightSpot");
    p.lightAttenuation.location = esDriver.GetUniformLocation(program, "uLightAttenuation");
    p.pointSize.location = esDriver.GetUniformLocation(program, "uPointSize");
    p.viewportHalf.location = esDriver.GetUniformLocation(program, "uViewportHalf");
    p.lineHalfWidth.location = esDriver.GetUniformLocation(program, "uLineHalfWidth");
    p.fogColour.location = esDriver.GetUniformLocation(program, "uFogColour");
    p.fogParameters.location = esDriver.GetUniformLocation(program, "uFogParameters");
}

}  // namespace

ShaderProgram& ShaderPrograms::programFor(const ShaderKey& key, GLuint& used)
{
    const auto make = [&key] {
        ShaderProgram created;
        created.program = link(key);
        created.attributesRead = attributesRead(key);
        created.transformsRead = transformsRead(key);
        if (created.program != 0)
            locate(created);
        return created;
    };
    const auto drop = [&used](const ShaderProgram& dropped) {
        if (dropped.program == 0)
            return;
        esDriver.DeleteProgram(dropped.program);
        if (dropped.program == used)
            used = 0;
    };
    return programs_.get(key, make, drop);
}
