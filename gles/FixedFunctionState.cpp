#include "gles/FixedFunctionState.h"

#include <algorithm>

namespace {

constexpr int kAttributeStackDepth = 16;

void copy4(Rgba& target, const float* values)
{
    std::copy(values, values + 4, target.begin());
}

bool* capabilityFlag(FixedFunctionState& state, GLenum capability)
{
    switch (capability) {
    case GL_LIGHTING: return &state.lighting;
    case GL_NORMALIZE: return &state.normalize;
    case GL_TEXTURE_2D: return &state.texture2D;
    case GL_TEXTURE_GEN_S: return &state.textureGenS;
    case GL_TEXTURE_GEN_T: return &state.textureGenT;
    case GL_FOG: return &state.fog;
    case GL_BLEND: return &state.blend;
    case GL_DEPTH_TEST: return &state.depthTest;
    case GL_SCISSOR_TEST: return &state.scissorTest;
    default:
        if (capability >= GL_LIGHT0 && capability < GL_LIGHT0 + kLightCount)
            return &state.lights[capability - GL_LIGHT0].enabled;
        return nullptr;
    }
}

MaterialState* frontOrBack(FixedFunctionState& state, GLenum face)
{
    if (face == GL_FRONT)
        return &state.material[0];
    if (face == GL_BACK)
        return &state.material[1];
    return nullptr;
}

bool setOneMaterial(MaterialState& material, GLenum name, const float* values)
{
    switch (name) {
    case GL_AMBIENT: copy4(material.ambient, values); return true;
    case GL_DIFFUSE: copy4(material.diffuse, values); return true;
    case GL_SPECULAR: copy4(material.specular, values); return true;
    case GL_EMISSION: copy4(material.emission, values); return true;
    case GL_AMBIENT_AND_DIFFUSE:
        copy4(material.ambient, values);
        copy4(material.diffuse, values);
        return true;
    case GL_SHININESS: material.shininess = std::clamp(values[0], 0.0f, 128.0f); return true;
    default: return false;
    }
}

}  // namespace

FixedFunctionState::FixedFunctionState()
{
    lights[0].diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    lights[0].specular = {1.0f, 1.0f, 1.0f, 1.0f};
}

Fill fillFor(const FixedFunctionState& state)
{
    if (state.polygonMode != GL_LINE)
        return Fill::Polygons;
    return state.shadeModel == GL_FLAT ? Fill::FlatOutlines : Fill::Outlines;
}

bool setCapability(FixedFunctionState& state, GLenum capability, bool on)
{
    bool* flag = capabilityFlag(state, capability);
    if (flag == nullptr)
        return false;
    *flag = on;
    return true;
}

bool readCapability(const FixedFunctionState& state, GLenum capability, bool& on)
{
    bool* flag = capabilityFlag(const_cast<FixedFunctionState&>(state), capability);
    if (flag == nullptr)
        return false;
    on = *flag;
    return true;
}

bool setLight(FixedFunctionState& state, int index, GLenum name, const float* values, const Mat4& modelview)
{
    LightState& light = state.lights[static_cast<std::size_t>(index)];
    switch (name) {
    case GL_AMBIENT: copy4(light.ambient, values); return true;
    case GL_DIFFUSE: copy4(light.diffuse, values); return true;
    case GL_SPECULAR: copy4(light.specular, values); return true;
    case GL_POSITION:
        light.eyePosition = transform(modelview, {values[0], values[1], values[2], values[3]});
        return true;
    case GL_SPOT_DIRECTION: {
        const auto eye = transform(modelview, {values[0], values[1], values[2], 0.0f});
        light.eyeSpotDirection = {eye[0], eye[1], eye[2]};
        return true;
    }
    case GL_SPOT_EXPONENT: light.spotExponent = values[0]; return true;
    case GL_SPOT_CUTOFF: light.spotCutoff = values[0]; return true;
    case GL_CONSTANT_ATTENUATION: light.attenuation[0] = values[0]; return true;
    case GL_LINEAR_ATTENUATION: light.attenuation[1] = values[0]; return true;
    case GL_QUADRATIC_ATTENUATION: light.attenuation[2] = values[0]; return true;
    default: return false;
    }
}

bool readLight(const FixedFunctionState& state, int index, GLenum name, float* values)
{
    const LightState& light = state.lights[static_cast<std::size_t>(index)];
    switch (name) {
    case GL_AMBIENT: std::copy(light.ambient.begin(), light.ambient.end(), values); return true;
    case GL_DIFFUSE: std::copy(light.diffuse.begin(), light.diffuse.end(), values); return true;
    case GL_SPECULAR: std::copy(light.specular.begin(), light.specular.end(), values); return true;
    case GL_POSITION: std::copy(light.eyePosition.begin(), light.eyePosition.end(), values); return true;
    case GL_SPOT_DIRECTION:
        std::copy(light.eyeSpotDirection.begin(), light.eyeSpotDirection.end(), values);
        return true;
    case GL_SPOT_EXPONENT: values[0] = light.spotExponent; return true;
    case GL_SPOT_CUTOFF: values[0] = light.spotCutoff; return true;
    case GL_CONSTANT_ATTENUATION: values[0] = light.attenuation[0]; return true;
    case GL_LINEAR_ATTENUATION: values[0] = light.attenuation[1]; return true;
    case GL_QUADRATIC_ATTENUATION: values[0] = light.attenuation[2]; return true;
    default: return false;
    }
}

bool setMaterial(FixedFunctionState& state, GLenum face, GLenum name, const float* values)
{
    if (face == GL_FRONT_AND_BACK)
        return setOneMaterial(state.material[0], name, values) && setOneMaterial(state.material[1], name, values);
    MaterialState* material = frontOrBack(state, face);
    return material != nullptr && setOneMaterial(*material, name, values);
}

bool readMaterial(const FixedFunctionState& state, GLenum face, GLenum name, float* values)
{
    const MaterialState* material = frontOrBack(const_cast<FixedFunctionState&>(state), face);
    if (material == nullptr)
        return false;
    const Rgba* colour = name == GL_AMBIENT    ? &material->ambient
                         : name == GL_DIFFUSE  ? &material->diffuse
                         : name == GL_SPECULAR ? &material->specular
                         : name == GL_EMISSION ? &material->emission
                                               : nullptr;
    if (colour != nullptr) {
        std::copy(colour->begin(), colour->end(), values);
        return true;
    }
    if (name != GL_SHININESS)
        return false;
    values[0] = material->shininess;
    return true;
}

bool setFog(FixedFunctionState& state, GLenum name, const float* values)
{
    FogState& fog = state.fogSettings;
    switch (name) {
    case GL_FOG_MODE: fog.mode = static_cast<GLenum>(values[0]); return true;
    case GL_FOG_DENSITY: fog.density = values[0]; return true;
    case GL_FOG_START: fog.start = values[0]; return true;
    case GL_FOG_END: fog.end = values[0]; return true;
    case GL_FOG_COLOR:
        for (std::size_t i = 0; i < 4; ++i)
            fog.colour[i] = std::clamp(values[i], 0.0f, 1.0f);
        return true;
    default: return false;
    }
}

bool AttributeStack::push(const FixedFunctionState& state)
{
    if (depth() >= kAttributeStackDepth)
        return false;
    saved_.push_back(state);
    return true;
}

bool AttributeStack::pop(FixedFunctionState& state)
{
    if (saved_.empty())
        return false;
    state = saved_.back();
    saved_.pop_back();
    return true;
}
