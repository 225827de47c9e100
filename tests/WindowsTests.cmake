# The tests of the Windows build, run under Wine.  GoogleTest is built from
# Debian's sources (package googletest) with the cross compiler.  Tests of
# Linux-only parts (SDL's audio, the X11 desktop and splash) stay out.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB test_sources CONFIGURE_DEPENDS *Test.cpp win32/*Test.cpp)
# SDL's audio, whole runs through a POSIX shell (win32/ has their own) and
# the Linux package's manual page.
list(REMOVE_ITEM test_sources ${CMAKE_CURRENT_SOURCE_DIR}/DesktopAudioTest.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/WholeRunTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ManualPageTest.cpp)
add_executable(quittenhain_tests ${test_sources} TestPlatform.cpp MusicReference.cpp)
target_link_libraries(quittenhain_tests PRIVATE quittenhain_core quittenhain_jpeg_library GTest::gmock GTest::gtest
                      GTest::gtest_main)
# The tests start the program through cmd.exe, which wants a Windows path;
# Wine shows the Unix file system as drive Z:.
string(REPLACE "/" "\\\\" windows_binary "Z:${CMAKE_BINARY_DIR}/quittenhain.exe")
target_compile_definitions(quittenhain_tests PRIVATE QUITTENHAIN_BINARY="${windows_binary}"
                           QUITTENHAIN_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden"
                           QUITTENHAIN_DISCARD_STDERR="2>NUL" QUITTENHAIN_WIDER_TILES="")
add_dependencies(quittenhain_tests quittenhain)
# One process per test, as on Linux (some tests leave OpenGL state behind
# for the next).  The tests are found in the sources: listing them by running
# the program would need Wine and a display at build time.
include(GoogleTest)
gtest_add_tests(TARGET quittenhain_tests SOURCES ${test_sources} TEST_LIST windows_tests)
set_tests_properties(${windows_tests} PROPERTIES TIMEOUT 900)
# Rendering the whole demo at four times the pixels under Wine would take
# most of CI's time; the Linux build runs it, and the same code draws here.
set_tests_properties(Resolution.DoubleSizeFramesHalvedMatchTheReferencesAndCarryFinerDetail PROPERTIES DISABLED TRUE)
