// Declarations only: read by tests/cmake/tiny/CMakeLists.txt, never compiled.
TEST(Drawing, WholeDemoAtThirtyFps) {}
TEST_F(Drawing, WholeDemoAtSixtyFps) {}
TEST(Drawing,
     SplitOverTwoLines) {}
TEST(Sound, Loud) {}
