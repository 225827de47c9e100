// The list of pictures the demo loads, and the functions that paint them.
// Every recipe returns an upright picture; main flips it for storage.
#pragma once
#include <string>
#include <vector>

#include "image.hpp"
#include "tga.hpp"

namespace tex {

struct Recipe {
    std::string name;   // file name in res/textures/
    int size;           // square edge in pixels
    Image (*make)(int size);
    bool subsample420;  // chroma subsampling for busy natural surfaces
    int quality;
};

const std::vector<Recipe>& allRecipes();

// Pictures with an alpha channel, written as uncompressed 32-bit TGA.
struct AlphaRecipe {
    std::string name;   // file name in res/textures/
    int width, height;
    AlphaImage (*make)(int width, int height);
    int maxAlpha;       // the byte stored for full coverage
};

const std::vector<AlphaRecipe>& allAlphaRecipes();

// The loading picture (splash.cpp).
AlphaImage makeSplash(int w, int h);

// Lettering and graphic cards (cards.cpp).
Image makeWhite(int n);
Image makeBlack(int n);
Image makeTestPattern(int n);
Image makeCreditKolbar(int n);
Image makeCreditMeridos(int n);
Image makeCreditTwl(int n);
Image makeBlurTitle(int n);

// Colour fields and sprites (colour.cpp).
Image makeMap(int n);
Image makePlasma(int n);
Image makeGlowWarm(int n);
Image makeGlowCool(int n);
Image makeMarble(int n);
Image makeAbstractCells(int n);
Image makeAbstractRings(int n);
Image makeAbstractAgate(int n);
Image makeAbstractHex(int n);

// Reflection maps in sphere-map layout (envmaps.cpp).
Image makeChromeEnv(int n);
Image makeBloomEnv(int n);
Image makeSteelEnv(int n);
Image makeSunsetEnv(int n);

// Stone and building surfaces (stone.cpp, frieze.cpp).
Image makeTempleColumn(int n);
Image makeTempleFrieze(int n);
Image makeTempleFloor(int n);
Image makeCobbleGround(int n);
Image makeCityColumn(int n);
Image makeFlagstoneGround(int n);
Image makeRoofTiles(int n);

}  // namespace tex
