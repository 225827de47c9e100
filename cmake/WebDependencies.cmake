# The browser (Emscripten, WebAssembly): WebGL 2 through the fixed-function
# layer in gles/, Web Audio, the page's canvas and callbacks; libmpg123 and
# TurboJPEG built for WebAssembly from Debian's source packages by
# scripts/web-deps.sh into QH_WEB_DEPS.

# The page's code leans on internals of Emscripten that are not its public
# interface: runtimeKeepaliveCounter (platform/web/exit.js), throwing
# "unwind" to return to the browser (platform/web/YieldingHeadlessPlatform.cpp)
# and $specialHTMLTargets (platform/web/CanvasContext.cpp, and the library
# functions below).  They were checked with this version only (Debian's
# emscripten package); another needs those three checked again before it is
# accepted here.
set(QH_EMSCRIPTEN_VERSION 3.1.6)
if(NOT EMSCRIPTEN_VERSION VERSION_EQUAL QH_EMSCRIPTEN_VERSION)
  message(FATAL_ERROR "Emscripten ${EMSCRIPTEN_VERSION} found; the web build accepts ${QH_EMSCRIPTEN_VERSION} only "
                      "(see cmake/WebDependencies.cmake for what another version must be checked for)")
endif()

# Two WebAssembly features every current browser engine has.  The 128-bit
# vector instructions let the compiler handle four floats at once where the
# effects' loops allow it; each lane rounds as the scalar operation would, so
# the numbers stay the same.  Bulk memory makes the layer's many copies of
# vertex arrays one instruction each: without it every copy of 512 bytes or
# more is a call out to JavaScript.
add_compile_options(-msimd128 -mbulk-memory)
add_link_options(-msimd128 -mbulk-memory)

set(QH_WEB_DEPS "${CMAKE_BINARY_DIR}/deps/prefix" CACHE PATH
    "Prefix holding libmpg123 and TurboJPEG built for WebAssembly (scripts/web-deps.sh)")
foreach(library mpg123 turbojpeg)
  if(NOT EXISTS "${QH_WEB_DEPS}/lib/lib${library}.a")
    message(FATAL_ERROR "${QH_WEB_DEPS}/lib/lib${library}.a is missing: run scripts/web-deps.sh first")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/StbLibrary.cmake)

add_library(quittenhain_jpeg_library STATIC IMPORTED)
set_target_properties(quittenhain_jpeg_library PROPERTIES IMPORTED_LOCATION "${QH_WEB_DEPS}/lib/libturbojpeg.a")

set(QH_PLATFORM_DIR platform/web)
# Capture (pictures and videos of frames) needs files, child processes and
# an encoder on the machine: a page has none of them.
set(QH_PLATFORM_EXCLUDED_SOURCES "")
foreach(capture PngFrames VideoFile VideoCheck ScratchFolder CaptureClaim)
  list(APPEND QH_PLATFORM_EXCLUDED_SOURCES ${CMAKE_SOURCE_DIR}/app/${capture}.cpp)
endforeach()
set(QH_MAIN_SOURCE app/WebMain.cpp)
file(GLOB QH_PLATFORM_GL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gles/es/*.cpp)
add_library(quittenhain_system_libraries INTERFACE)
target_include_directories(quittenhain_system_libraries SYSTEM INTERFACE ${QH_WEB_DEPS}/include)
target_link_libraries(quittenhain_system_libraries INTERFACE
  ${QH_WEB_DEPS}/lib/libmpg123.a quittenhain_jpeg_library quittenhain_stb)

# The packer of the data file runs on the build machine under node.
find_program(QH_NODE node REQUIRED)
add_executable(quittenhain_pack tools/pack/PackResources.cpp assets/ResourcePack.cpp)
target_include_directories(quittenhain_pack PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(quittenhain_pack PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)

# The module the page loads.
function(web_module target)
  read_resource_manifest(${CMAKE_SOURCE_DIR}/res/manifest.txt types names files)
  set(arguments "")
  foreach(type name path IN ZIP_LISTS types names files)
    list(APPEND arguments ${type} ${name} ${path})
  endforeach()
  set(data ${CMAKE_BINARY_DIR}/quittenhain.data)
  add_custom_command(OUTPUT ${data}
    COMMAND ${QH_NODE} --no-experimental-fetch $<TARGET_FILE:quittenhain_pack> ${data} ${arguments}
    DEPENDS quittenhain_pack ${files} ${CMAKE_SOURCE_DIR}/res/manifest.txt
    COMMENT "Packing the resources into quittenhain.data" VERBATIM)
  add_custom_target(quittenhain_data ALL DEPENDS ${data})

  # Emscripten's JavaScript the module's own JavaScript uses (a file, since
  # the name's dollar sign does not survive the build tool).
  set(library_functions ${CMAKE_BINARY_DIR}/library-functions.json)
  file(WRITE ${library_functions} "[\"$specialHTMLTargets\"]")
  set(exit_library ${CMAKE_SOURCE_DIR}/platform/web/exit.js)
  set_target_properties(${target} PROPERTIES SUFFIX ".js" LINK_DEPENDS ${exit_library})
  target_link_options(${target} PRIVATE
    -sMODULARIZE=1 -sEXPORT_NAME=createQuittenhain
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES3=1
    -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
    -sEXPORTED_FUNCTIONS=_main,_qhEnd,_qhDecodeMusic,_malloc,_free
    "-sEXPORTED_RUNTIME_METHODS=['callMain']"
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${library_functions} --js-library ${exit_library})
endfunction()

# The feature scenes of tests/features drawn in a page, for the browser
# tests (tests/web/features.test.mjs): quittenhain_features.js and .wasm in
# the build folder, never in the folder the demo is served from.
function(web_feature_module)
  add_executable(quittenhain_features ${CMAKE_SOURCE_DIR}/tests/features/drawFeature.cpp
                 ${CMAKE_SOURCE_DIR}/tests/features/FeatureScenes.cpp)
  target_link_libraries(quittenhain_features PRIVATE quittenhain_core)
  set_target_properties(quittenhain_features PROPERTIES SUFFIX ".js")
  target_link_options(quittenhain_features PRIVATE
    -sMODULARIZE=1 -sEXPORT_NAME=createFeatures
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES3=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/library-functions.json)
endfunction()
