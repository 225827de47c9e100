#include "gles/ShaderKey.h"

namespace {

std::uint32_t lightBits(const LightState& light)
{
    if (!light.enabled)
        return 0;
    std::uint32_t bits = ShaderKey::kLightOn;
    if (light.positional()) {
        // Spots and distance attenuation only work on positional lights.
        bits |= ShaderKey::kPositional;
        if (light.spot())
            bits |= ShaderKey::kSpot;
        if (light.attenuated())
            bits |= ShaderKey::kAttenuated;
    }
    return bits;
}

}  // namespace

ShaderKey shaderKeyFor(const FixedFunctionState& state, DrawnAs drawnAs, bool wideLines)
{
    ShaderKey key;
    if (state.lighting) {
        key.flags |= ShaderKey::kLighting;
        for (int i = 0; i < kLightCount; ++i)
            key.lights |= lightBits(state.lights[static_cast<std::size_t>(i)]) << (4 * i);
    }
    if (state.normalize)
        key.flags |= ShaderKey::kNormalize;
    if (state.texture2D) {
        key.flags |= ShaderKey::kTexture;
        if (state.textureGenS && state.textureGenModeS == GL_SPHERE_MAP)
            key.flags |= ShaderKey::kSphereMapS;
        if (state.textureGenT && state.textureGenModeT == GL_SPHERE_MAP)
            key.flags |= ShaderKey::kSphereMapT;
    }
    if (state.fog && state.fogSettings.mode == GL_LINEAR)
        key.flags |= ShaderKey::kLinearFog;
    if (state.shadeModel == GL_FLAT)
        key.flags |= ShaderKey::kFlat;
    if (drawnAs == DrawnAs::Points)
        key.flags |= ShaderKey::kPoints;
    if (drawnAs == DrawnAs::Lines && wideLines)
        key.flags |= ShaderKey::kWideLines;
    return key;
}

unsigned attributesRead(const ShaderKey& key)
{
    unsigned read = 0;
    if (key.has(ShaderKey::kLighting) || key.has(ShaderKey::kSphereMapS) || key.has(ShaderKey::kSphereMapT))
        read |= kHasNormal;
    if (!key.has(ShaderKey::kLighting))
        read |= kHasColour;
    if (key.has(ShaderKey::kTexture) && !(key.has(ShaderKey::kSphereMapS) && key.has(ShaderKey::kSphereMapT)))
        read |= kHasTexCoord;
    return read;
}
