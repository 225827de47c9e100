#include "gles/GlesLayer.h"

#include "gles/es/Layer.h"

bool glesLayerStart(GlesProcLookup lookup)
{
    return Layer::start(lookup);
}
