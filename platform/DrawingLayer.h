#pragma once

// Where a layer of the program's own answers its OpenGL 1.1 calls (the
// OpenGL ES build's fixed-function layer), the platform code that starts
// it registers how to ask it for its figures; --self-check reports them.
using ShaderProgramCount = int (*)();
void registerDrawingLayer(ShaderProgramCount shaderPrograms);

// The shader programs the layer keeps compiled; -1 where the driver
// answers the OpenGL 1.1 calls itself.
int drawingLayerShaderPrograms();
