# OpenGL ES 3: libGLESv2 and libEGL only.  The program still includes the
# desktop headers <GL/gl.h>, <GL/glu.h> and <GL/glext.h> for the OpenGL 1.1
# and GLU declarations, and the layer in gles/es/ defines those functions on
# top of OpenGL ES; nothing links libGL or libGLU.
pkg_check_modules(GLESV2 REQUIRED IMPORTED_TARGET glesv2)
find_path(QH_GL_HEADERS GL/gl.h REQUIRED)
find_path(QH_GLU_HEADERS GL/glu.h REQUIRED)
if(NOT EXISTS ${QH_GL_HEADERS}/GL/glext.h)
  message(FATAL_ERROR "GL/glext.h is missing beside ${QH_GL_HEADERS}/GL/gl.h")
endif()
target_link_libraries(quittenhain_system_libraries INTERFACE PkgConfig::GLESV2)
file(GLOB QH_PLATFORM_GL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/linux/opengles/*.cpp
     ${CMAKE_SOURCE_DIR}/gles/es/*.cpp)
