# The tests of the Windows build, run under Wine.  GoogleTest is built from
# Debian's sources (package googletest, wherever it puts them) with the cross
# compiler.
if(NOT QH_GOOGLETEST_SOURCE)
  execute_process(COMMAND dpkg-query -L googletest OUTPUT_VARIABLE googletest_files ERROR_QUIET)
  string(REGEX MATCH "[^\n]*/CMakeLists.txt" googletest_top "${googletest_files}")
  get_filename_component(googletest_top "${googletest_top}" DIRECTORY)
  set(QH_GOOGLETEST_SOURCE "${googletest_top}" CACHE PATH "GoogleTest's sources (Debian's googletest package)")
endif()
if(NOT EXISTS "${QH_GOOGLETEST_SOURCE}/googletest/CMakeLists.txt")
  message(FATAL_ERROR "No GoogleTest sources found (\"${QH_GOOGLETEST_SOURCE}\"): install the googletest "
                      "package or set QH_GOOGLETEST_SOURCE")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QH_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(TestGroups.cmake)

# The shared tests and win32/'s own; linux/'s (SDL's audio, X11, whole runs
# and child processes through a POSIX shell, the manual page) stay out.
file(GLOB test_sources CONFIGURE_DEPENDS *Test.cpp win32/*Test.cpp)
# The tests run with the program's own manifest (UTF-8 as the code page),
# so that they pass file names to it as a user's command prompt does.
add_executable(quittenhain_tests ${test_sources} TestPlatform.cpp MusicReference.cpp ${QH_EXECUTABLE_RESOURCES})
target_link_libraries(quittenhain_tests PRIVATE quittenhain_core quittenhain_jpeg_library GTest::gmock GTest::gtest
                      GTest::gtest_main)
# The tests start the program through cmd.exe, which wants a Windows path;
# Wine shows the Unix file system as drive Z:.
string(REPLACE "/" "\\\\" windows_binary "Z:${CMAKE_BINARY_DIR}/quittenhain.exe")
string(REPLACE "/" "\\\\" windows_standin "Z:${CMAKE_BINARY_DIR}/standin")
target_compile_definitions(quittenhain_tests PRIVATE QUITTENHAIN_BINARY="${windows_binary}"
                           QUITTENHAIN_STANDIN_FOLDER="${windows_standin}"
                           QUITTENHAIN_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden"
                           QUITTENHAIN_DISCARD_STDERR="2>NUL" QUITTENHAIN_WIDER_TILES="")
target_link_libraries(quittenhain_tests PRIVATE version)
# Compiled in batches, as on Linux: each batch reads GoogleTest's headers once.
set_target_properties(quittenhain_tests PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
# A stand-in for FFmpeg that records what it is given and fails or hangs when
# told (see the file), alone in its folder so that only tests that ask find it.
add_executable(standin_ffmpeg win32/standInFfmpeg.cpp)
set_target_properties(standin_ffmpeg PROPERTIES OUTPUT_NAME ffmpeg RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin)
target_link_libraries(standin_ffmpeg PRIVATE shell32)
add_dependencies(quittenhain_tests quittenhain standin_ffmpeg)
# One process per test, as on Linux (some tests leave OpenGL state behind
# for the next).  The tests are found in the sources: listing them by running
# the program would need Wine and a display at build time.
include(GoogleTest)
gtest_add_tests(TARGET quittenhain_tests SOURCES ${test_sources} TEST_LIST windows_tests)
set_tests_properties(${windows_tests} PROPERTIES TIMEOUT 900)
# The window and splash tests read back the one virtual desktop: run side by
# side, one's window covers what the other reads.
set(desktop_tests ${windows_tests})
list(FILTER desktop_tests INCLUDE REGEX "^Win32(Platform|Splash)\\.")
set_tests_properties(${desktop_tests} PROPERTIES RESOURCE_LOCK virtual_desktop)
# Rendering the whole demo at four times the pixels under Wine would take
# most of CI's time; the Linux build runs it, and the same code draws here.
# So would the whole demo at several frame rates; the stepping it checks is
# the shared code's.
qh_match_tests(linux_only_tests "Linux-run whole-demo tests" windows_tests Resolution.DoubleSize* FrameRates.*)
set_tests_properties(${linux_only_tests} PROPERTIES DISABLED TRUE)
# The golden frames and the frames on which the parts begin compare with one
# 60 fps capture of the whole demo (tests/WholeShows.h), made once for both
# in one process, as on Linux.  Started first (the highest cost), it runs
# beside the short tests instead of alone after them.
qh_match_tests(whole_shows_tests "whole-show tests" windows_tests GoldenFrames.* WholeRun.EachPart*)
set_tests_properties(${whole_shows_tests} PROPERTIES DISABLED TRUE)
list(JOIN whole_shows_tests ":" whole_shows_filter)
add_test(NAME WholeShows.Alone COMMAND quittenhain_tests --gtest_filter=${whole_shows_filter})
set_tests_properties(WholeShows.Alone PROPERTIES TIMEOUT 900 COST 10000)
