# The tests of the Windows build, run under Wine.  GoogleTest is built from
# Debian's sources (package googletest) with the cross compiler.  Tests of
# Linux-only parts (SDL's audio, the X11 desktop and splash) stay out.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB test_sources CONFIGURE_DEPENDS *Test.cpp win32/*Test.cpp)
list(REMOVE_ITEM test_sources ${CMAKE_CURRENT_SOURCE_DIR}/DesktopAudioTest.cpp)
add_executable(quittenhain_tests ${test_sources} TestPlatform.cpp)
target_link_libraries(quittenhain_tests PRIVATE quittenhain_core quittenhain_jpeg_library GTest::gmock GTest::gtest
                      GTest::gtest_main)
# Wine runs the program from a Unix path as drive Z:.
target_compile_definitions(quittenhain_tests PRIVATE QUITTENHAIN_BINARY="Z:$<TARGET_FILE:quittenhain>"
                           QUITTENHAIN_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden")
add_dependencies(quittenhain_tests quittenhain)
# One Wine process for the whole program: starting Wine per test would cost
# more than the tests themselves.
add_test(NAME WindowsTests COMMAND quittenhain_tests)
set_tests_properties(WindowsTests PROPERTIES TIMEOUT 1500)
