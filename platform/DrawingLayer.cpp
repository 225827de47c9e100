#include "platform/DrawingLayer.h"

namespace {

ShaderProgramCount registered = nullptr;

}  // namespace

void registerDrawingLayer(ShaderProgramCount shaderPrograms)
{
    registered = shaderPrograms;
}

int drawingLayerShaderPrograms()
{
    return registered != nullptr ? registered() : -1;
}
