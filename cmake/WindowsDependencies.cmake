# Windows (cross-compiled with MinGW-w64): Win32, WGL, GLU and waveOut from
# the system's own DLLs; libmpg123 and TurboJPEG built statically from
# Debian's source packages by scripts/windows-deps.sh into QH_WINDOWS_DEPS;
# the C and C++ runtimes linked in, so the executable needs no DLL of ours.
set(QH_WINDOWS_DEPS "${CMAKE_BINARY_DIR}/deps/prefix" CACHE PATH
    "Prefix holding libmpg123 and TurboJPEG built for Windows (scripts/windows-deps.sh)")
foreach(library mpg123 turbojpeg)
  if(NOT EXISTS "${QH_WINDOWS_DEPS}/lib/lib${library}.a")
    message(FATAL_ERROR "${QH_WINDOWS_DEPS}/lib/lib${library}.a is missing: run scripts/windows-deps.sh first")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/StbLibrary.cmake)

add_library(quittenhain_jpeg_library STATIC IMPORTED)
set_target_properties(quittenhain_jpeg_library PROPERTIES IMPORTED_LOCATION "${QH_WINDOWS_DEPS}/lib/libturbojpeg.a")

set(QH_PLATFORM_DIR platform/win32)
add_library(quittenhain_system_libraries INTERFACE)
target_include_directories(quittenhain_system_libraries SYSTEM INTERFACE ${QH_WINDOWS_DEPS}/include)
# MPG123_STATIC: link the library in rather than import it from a DLL.
target_compile_definitions(quittenhain_system_libraries INTERFACE MPG123_STATIC NOMINMAX WIN32_LEAN_AND_MEAN
                           _USE_MATH_DEFINES)
target_link_libraries(quittenhain_system_libraries INTERFACE
  ${QH_WINDOWS_DEPS}/lib/libmpg123.a quittenhain_jpeg_library quittenhain_stb
  shlwapi opengl32 glu32 gdi32 winmm user32 kernel32)
target_compile_options(quittenhain_system_libraries INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-include${CMAKE_SOURCE_DIR}/platform/win32/WindowsWithoutNearFar.h>)
add_link_options(-static -static-libgcc -static-libstdc++)

# The executable's own resources (icon, version information, manifest),
# compiled with windres from packaging/windows.  The version comes from the
# project's one version number.
enable_language(RC)
set(qh_version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} 0 0)
if(PROJECT_VERSION_PATCH)
  list(REMOVE_AT qh_version_parts 2)
  list(INSERT qh_version_parts 2 ${PROJECT_VERSION_PATCH})
endif()
list(JOIN qh_version_parts "," QH_VERSION_COMMAS)
list(JOIN qh_version_parts "." QH_VERSION_QUAD)
set(QH_ICON_FILE ${CMAKE_SOURCE_DIR}/packaging/windows/quittenhain.ico)
set(QH_MANIFEST_FILE ${CMAKE_BINARY_DIR}/quittenhain.manifest)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/quittenhain.manifest ${QH_MANIFEST_FILE} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/quittenhain.rc.in ${CMAKE_BINARY_DIR}/quittenhain.rc @ONLY)
set(QH_EXECUTABLE_RESOURCES ${CMAKE_BINARY_DIR}/quittenhain.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/quittenhain.rc PROPERTIES
                            OBJECT_DEPENDS "${QH_ICON_FILE};${QH_MANIFEST_FILE}")
