# Installs the demo like any Linux program: the executable, a menu entry, its
# icon in the hicolor theme, a manual page and the README.  Other systems
# install their own way.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()
include(GNUInstallDirs)

# The package's name, not the project's capitalised one.
set(QH_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quittenhain)

# A demo goes where Debian puts games (/usr/games, on every user's PATH), with
# its manual page in section 6.
install(TARGETS quittenhain RUNTIME DESTINATION games)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/quittenhain.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# gzip -n leaves the name and time out, so the same page gives the same bytes.
function(qh_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(packed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${packed}
                     COMMAND gzip -9nc ${source} > ${packed}
                     DEPENDS ${source} VERBATIM)
  add_custom_target(packed_${name} ALL DEPENDS ${packed})
  install(FILES ${packed} DESTINATION ${destination})
endfunction()

# The manual page carries the project's version.
configure_file(${CMAKE_SOURCE_DIR}/packaging/quittenhain.6.in ${CMAKE_BINARY_DIR}/packaging/quittenhain.6 @ONLY)
qh_install_gzipped(${CMAKE_BINARY_DIR}/packaging/quittenhain.6 ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${QH_DOCDIR})
