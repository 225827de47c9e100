#include "gles/es/EsFunctions.h"

#include <cstdio>

EsFunctions esDriver;

bool loadEsFunctions(GlesProcLookup lookup)
{
    EsFunctions loaded;
    bool complete = lookup != nullptr;
#define QH_ES_LOAD(result, name, parameters)                                                          \
    if (complete) {                                                                                    \
        loaded.name = reinterpret_cast<result(*) parameters>(lookup("gl" #name));                      \
        if (loaded.name == nullptr) {                                                                  \
            std::fprintf(stderr, "quittenhain: the OpenGL ES context has no gl%s\n", #name);            \
            complete = false;                                                                          \
        }                                                                                              \
    }
    QH_ES_FUNCTIONS(QH_ES_LOAD)
#undef QH_ES_LOAD
    if (!complete)
        return false;
    // A lookup that searches the program's own symbols would hand back the
    // layer's definitions, and every call would come back to the layer.
    if (reinterpret_cast<void*>(loaded.Enable) == reinterpret_cast<void*>(&::glEnable) ||
        reinterpret_cast<void*>(loaded.Clear) == reinterpret_cast<void*>(&::glClear)) {
        std::fprintf(stderr, "quittenhain: the OpenGL ES lookup gives the layer's own functions\n");
        return false;
    }
    esDriver = loaded;
    return true;
}
