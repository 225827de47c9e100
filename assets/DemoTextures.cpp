#include "assets/DemoTextures.h"

#include "assets/JpegTexture.h"

GLuint texWhite = 0;
GLuint texBlack = 0;
GLuint texTestPattern = 0;
GLuint texPlasma = 0;
GLuint texKolbar = 0;
GLuint texMeridos = 0;
GLuint texTwl = 0;
GLuint texBlur = 0;
GLuint texPart5Envi = 0;
GLuint texMap = 0;

void loadDemoTextures()
{
    loadJpegTexture(texWhite, "WHITE.JPG");
    loadJpegTexture(texBlack, "BLACK.JPG");
    loadJpegTexture(texTestPattern, "TESTPATTERN.JPG");
    loadJpegTexture(texPlasma, "PLASMA.JPG");
    loadJpegTexture(texKolbar, "KOLBAR.JPG");
    loadJpegTexture(texMeridos, "MERIDOS.JPG");
    loadJpegTexture(texTwl, "TWL.JPG");
    loadJpegTexture(texBlur, "BLUR.JPG");
    loadJpegTexture(texPart5Envi, "PART5ENVI.JPG");
    loadJpegTexture(texMap, "MAP.JPG");
}
