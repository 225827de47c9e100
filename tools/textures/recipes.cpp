#include "recipes.hpp"

namespace tex {

const std::vector<Recipe>& allRecipes() {
    // Flat graphics and lettering keep full chroma (sharp coloured edges);
    // noisy surfaces use 4:2:0, which costs nothing visible and halves size.
    static const std::vector<Recipe> list = {
        {"WHITE.JPG", 128, makeWhite, false, 92},
        {"BLACK.JPG", 128, makeBlack, false, 92},
        {"TESTPATTERN.JPG", 512, makeTestPattern, false, 92},
        {"MAP.JPG", 512, makeMap, false, 90},
        {"PLASMA.JPG", 256, makePlasma, false, 92},
        {"KOLBAR.JPG", 512, makeCreditKolbar, false, 97},
        {"MERIDOS.JPG", 512, makeCreditMeridos, false, 97},
        {"TWL.JPG", 512, makeCreditTwl, false, 97},
        {"BLUR.JPG", 256, makeBlurTitle, false, 92},
        {"PART5ENVI.JPG", 256, makeChromeEnv, false, 92},
        {"GLOW.JPG", 256, makeGlowWarm, false, 92},
        {"GLOW2.JPG", 256, makeGlowCool, false, 92},
        {"TEMPELCOLUMN.JPG", 512, makeTempleColumn, true, 90},
        {"TEMPELDECAL.JPG", 512, makeTempleFrieze, true, 90},
        {"TEMPELGROUND.JPG", 512, makeTempleFloor, true, 90},
        {"ENVIBLUM.JPG", 512, makeBloomEnv, true, 90},
        {"MARMORIT.JPG", 256, makeMarble, false, 90},
        {"PART3ENVI2.JPG", 256, makeSteelEnv, false, 92},
        {"MGROUND.JPG", 512, makeCobbleGround, true, 90},
        {"MTCOLUMN.JPG", 512, makeCityColumn, true, 90},
        {"MTGROUND.JPG", 512, makeFlagstoneGround, true, 90},
        {"MTROOF.JPG", 512, makeRoofTiles, true, 90},
        {"PART3ENVI.JPG", 256, makeSunsetEnv, false, 92},
        {"PART3MAP1.JPG", 256, makeAbstractCells, false, 90},
        {"PART3MAP2.JPG", 256, makeAbstractRings, false, 90},
        {"PART3MAP3.JPG", 256, makeAbstractAgate, false, 90},
        {"PART3MAP4.JPG", 256, makeAbstractHex, false, 90},
    };
    return list;
}

const std::vector<AlphaRecipe>& allAlphaRecipes() {
    // The splash never quite covers the desktop: its alpha stops at 253.
    static const std::vector<AlphaRecipe> list = {
        {"SPLASH.TGA", 320, 240, makeSplash, 253},
    };
    return list;
}

}  // namespace tex
