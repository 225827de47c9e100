# A Debian package through CPack (scripts/package.sh runs it): the install
# rules of Install.cmake plus Debian's copyright file and changelog, with the
# library dependencies computed by dpkg-shlibdeps.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(QH_PACKAGE_MAINTAINER "Quittenhain maintainers <maintainers@users.noreply.c-seed-0f22dd31.example>"
    CACHE STRING "The Maintainer field of the Debian package")

# The changelog's newest entry names the version being packaged; a version
# bump without an entry would ship a changelog that contradicts the package.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog qh_changelog_top LIMIT_COUNT 1)
if(NOT qh_changelog_top MATCHES "^quittenhain \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog must begin with an entry for version ${PROJECT_VERSION}")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${QH_DOCDIR})
qh_install_gzipped(${CMAKE_SOURCE_DIR}/packaging/changelog ${QH_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quittenhain)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QH_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual demo")
set(CPACK_PACKAGE_DESCRIPTION
"Quittenhain plays one piece of music and, in step with it, renders eleven
visual parts with OpenGL at 640x480: plasma, a temple, a particle glow cloud,
a line figure, rippling cloth, metaballs, a chain of tori and more. It runs
for about four minutes, in a window or full screen, and ends by itself.
Everything it shows and plays is compiled into the program.
.
It can also run headless on a virtual clock, to write its frames as PNG
pictures or, with FFmpeg, as a video, and to measure how fast it draws.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Only video capture needs FFmpeg; without X core fonts the full-screen
# question cannot be shown and the demo plays in a window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, xfonts-base")
include(CPack)
