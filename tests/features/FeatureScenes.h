#pragma once
#include <string>
#include <vector>

// Small pictures that each exercise one fixed-function feature the demo
// uses, drawn with the same OpenGL 1.1 and GLU calls as the demo.  Drawn
// by the desktop build and the OpenGL ES build, they must look the same.
struct FeatureScene {
    const char* name;
    void (*draw)();
};

constexpr int kFeatureSize = 128;

const std::vector<FeatureScene>& featureScenes();
const FeatureScene* findFeatureScene(const std::string& name);
