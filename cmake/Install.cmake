# Where an installed Wandrix puts its files, in the places a Linux desktop
# looks for them: the desktop entry for the menu, the AppStream metadata for
# software centres, the icon theme, the shared MIME database (session files
# are told by their first word) and the manual pages. The help page is
# installed with the program, by src/desktop/window.
#
# Included after src/, so that it knows whether the desktop program is built.

set(WANDRIX_APP_ID io.github.wandrix.Wandrix)
set(wandrix_resources ${PROJECT_SOURCE_DIR}/resources)

# The manual pages carry the version; they are compressed as Debian and most
# distributions ship them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages wandrix-cli)
if(TARGET wandrix)
  list(APPEND man_pages wandrix)
endif()
set(man_outputs)
foreach(page IN LISTS man_pages)
  set(source ${PROJECT_SOURCE_DIR}/doc/man/${page}.1.in)
  set(page_file ${PROJECT_BINARY_DIR}/man/${page}.1)
  configure_file(${source} ${page_file} @ONLY)
  add_custom_command(OUTPUT ${page_file}.gz
                     COMMAND ${GZIP_PROGRAM} -9 -n -c ${page_file} > ${page_file}.gz
                     DEPENDS ${page_file} ${source}
                     COMMENT "Compressing manual page ${page}.1")
  list(APPEND man_outputs ${page_file}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_outputs})
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian keeps a package's licence as /usr/share/doc/<package>/copyright.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wandrix
        RENAME copyright)

if(TARGET wandrix)
  # The help launcher finds the installed help page from the executable's
  # folder, as ../share/wandrix: the two folders must keep that relation.
  file(RELATIVE_PATH help_from_program ${CMAKE_INSTALL_FULL_BINDIR}
       ${CMAKE_INSTALL_FULL_DATADIR}/wandrix)
  if(NOT help_from_program STREQUAL "../share/wandrix")
    message(WARNING "The help page is installed as ${help_from_program} from the program, "
                    "where Help cannot find it; keep CMAKE_INSTALL_BINDIR and "
                    "CMAKE_INSTALL_DATADIR as bin and share.")
  endif()
  install(FILES ${wandrix_resources}/${WANDRIX_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${wandrix_resources}/${WANDRIX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${wandrix_resources}/${WANDRIX_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${wandrix_resources}/${WANDRIX_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()
