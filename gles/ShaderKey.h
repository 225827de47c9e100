#pragma once

#include <cstdint>
#include <functional>

#include "gles/FixedFunctionState.h"
#include "gles/ImmediateMode.h"

// The parts of the state that change the shaders' code (everything else is
// a uniform): one program is compiled per combination met, and kept.
struct ShaderKey {
    enum Flag : std::uint32_t {
        kLighting = 1u << 0,
        kNormalize = 1u << 1,
        kTexture = 1u << 2,
        kSphereMapS = 1u << 3,
        kSphereMapT = 1u << 4,
        kLinearFog = 1u << 5,
        kFlat = 1u << 6,
        kPoints = 1u << 7,
        kWideLines = 1u << 8,
    };
    // Per light four bits: on, positional, spot, attenuated.
    enum LightBit : std::uint32_t { kLightOn = 1, kPositional = 2, kSpot = 4, kAttenuated = 8 };

    std::uint32_t flags = 0;
    std::uint32_t lights = 0;

    bool has(Flag flag) const { return (flags & flag) != 0; }
    std::uint32_t light(int index) const { return (lights >> (4 * index)) & 0xfu; }
    bool operator==(const ShaderKey& other) const { return flags == other.flags && lights == other.lights; }
};

struct ShaderKeyHash {
    std::size_t operator()(const ShaderKey& key) const
    {
        return std::hash<std::uint64_t>()((static_cast<std::uint64_t>(key.lights) << 32) | key.flags);
    }
};

// The key for drawing with this state.  Lights are in the key only with
// lighting on, fog only in linear mode, sphere-map generation only for the
// coordinates switched on in that mode.
ShaderKey shaderKeyFor(const FixedFunctionState& state, DrawnAs drawnAs, bool wideLines);

// The optional vertex attributes (VertexAttributeBits) the key's shaders
// read: the normal for lighting and sphere maps, the colour without
// lighting, the texture coordinate for a texture not wholly sphere-mapped.
unsigned attributesRead(const ShaderKey& key);
