#include "tests/TestPlatform.h"

#include <gtest/gtest.h>

TestPlatform& testPlatform()
{
    static TestPlatform* shared = [] {
        auto* created = new TestPlatform;   // lives to the end of the test program
        if (!created->init() || !created->createGLContext(created->createMainWindow("test", false)))
            ADD_FAILURE() << "no headless OpenGL context";
        return created;
    }();
    setPlatform(shared);
    shared->makeCurrent();
    return *shared;
}
