# For a cross build (Windows, the browser): stb's PNG writer (and, for the
# tests, reader) compiled from Debian's headers, which are copied alone so
# the build machine's include folder stays out.
set(QH_STB_INCLUDE "${CMAKE_BINARY_DIR}/stb-include")
foreach(header stb_image_write.h stb_image.h)
  configure_file(/usr/include/stb/${header} ${QH_STB_INCLUDE}/stb/${header} COPYONLY)
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/stb-implementation.c
     "#define STB_IMAGE_WRITE_IMPLEMENTATION\n#include <stb/stb_image_write.h>\n"
     "#define STB_IMAGE_IMPLEMENTATION\n#include <stb/stb_image.h>\n")
add_library(quittenhain_stb STATIC ${CMAKE_BINARY_DIR}/stb-implementation.c)
target_include_directories(quittenhain_stb PUBLIC ${QH_STB_INCLUDE})
