# What `cmake --install` puts where, and the Debian package CPack makes of the same rules.
# Only the full build has programs to install; the core-only build skips all of it.
if(PENDRA2_CORE_ONLY)
  return()
endif()

include(GNUInstallDirs)

set(pendra2_linux ${PROJECT_SOURCE_DIR}/resources/linux)
set(pendra2_programs Pendra2 Stepcraft Chimecraft pendra2-cli pendra2-virtual-board)

# The editors and the launcher find each other in their own folder first, so all five
# programs go side by side into bin.
install(TARGETS ${pendra2_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# pendra2-cli.1, printed by the program itself from its --help texts.
set(pendra2_man ${CMAKE_BINARY_DIR}/man/pendra2-cli.1)
add_custom_command(OUTPUT ${pendra2_man}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:pendra2-cli> -DOUT=${pendra2_man}
          -P ${PROJECT_SOURCE_DIR}/cmake/WriteManPage.cmake
  DEPENDS pendra2-cli ${PROJECT_SOURCE_DIR}/cmake/WriteManPage.cmake
  COMMENT "Writing the pendra2-cli manual page"
  VERBATIM)
add_custom_target(pendra2_man_page ALL DEPENDS ${pendra2_man})
install(FILES ${pendra2_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES
  ${pendra2_linux}/org.pendra2.Pendra2.desktop
  ${pendra2_linux}/org.pendra2.Stepcraft.desktop
  ${pendra2_linux}/org.pendra2.Chimecraft.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pendra2_linux}/pendra2.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${pendra2_linux}/org.pendra2.Pendra2.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The artwork is drawn as SVG: one scalable icon each, and the usual PNG sizes rendered from it.
foreach(size ${PENDRA2_ICON_SIZES})
  foreach(name pendra2 stepcraft chimecraft)
    install(FILES ${PENDRA2_ICON_DIR}/${size}x${size}/${name}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endforeach()
set(pendra2_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/launcher/PENDRA2_ICON.svg
  DESTINATION ${pendra2_icons} RENAME pendra2.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/stepcraft/STEPCRAFT_ICON.svg
  DESTINATION ${pendra2_icons} RENAME stepcraft.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/chimecraft/CHIMECRAFT_ICON.svg
  DESTINATION ${pendra2_icons} RENAME chimecraft.svg)

# The user guide, readable offline beside the programs.
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide/ja.md ${PROJECT_SOURCE_DIR}/docs/guide/en.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pendra2/guide)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide/images DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pendra2/guide)

# udev reads its rules from lib/udev/rules.d under /usr (never lib64 or a multiarch folder).
install(FILES ${pendra2_linux}/70-pendra2.rules DESTINATION lib/udev/rules.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pendra2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pendra2")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "program the Pendra2 USB microcontroller board with flowcharts and tunes")
set(CPACK_PACKAGE_DESCRIPTION
  "Stepcraft draws a program for the Pendra2 board as a flowchart, Chimecraft writes\
 music-box tunes for it, and the Pendra2 launcher starts either editor when a board is\
 attached. pendra2-cli does the same work from a terminal; pendra2-virtual-board stands in\
 for a board.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The build keeps its debugging symbols; the package does not need them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pendra2 developers <pendra2@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link against, the font the Japanese texts are drawn in and Qt's
# own texts (dialog buttons, file dialogs) in Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6svg6, libqt6network6,\
 libqt6multimedia6, libhidapi-hidraw0, libsmf0, libsndfile1, libstdc++6, libgcc-s1, libc6, fonts-ipafont-gothic,\
 qt6-translations-l10n")
include(CPack)
