# Linux: SDL2 for the desktop window and sound, EGL for headless runs, X11
# for the splash, libmpg123 and TurboJPEG as decoders, all from pkg-config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
find_library(STB_LIBRARY stb REQUIRED)
find_package(X11 REQUIRED COMPONENTS Xext)

set(QH_PLATFORM_DIR platform/linux)
set(QH_PLATFORM_EXCLUDED_SOURCES "")
add_library(quittenhain_system_libraries INTERFACE)
target_link_libraries(quittenhain_system_libraries INTERFACE
  PkgConfig::SDL2 PkgConfig::MPG123 PkgConfig::EGL PkgConfig::TURBOJPEG ${STB_LIBRARY} X11::X11 X11::Xext)

# The OpenGL libraries and the file saying which API the contexts bind.
if(QH_GL STREQUAL "gles")
  include(${CMAKE_CURRENT_LIST_DIR}/GlesDependencies.cmake)
else()
  set(OpenGL_GL_PREFERENCE GLVND)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL)
  find_library(GLU_LIBRARY GLU REQUIRED)
  target_link_libraries(quittenhain_system_libraries INTERFACE OpenGL::GL ${GLU_LIBRARY})
  set(QH_PLATFORM_GL_SOURCES ${CMAKE_SOURCE_DIR}/platform/linux/opengl/ContextApi.cpp)
endif()
add_library(quittenhain_jpeg_library ALIAS PkgConfig::TURBOJPEG)
