# cmake -DBUILD=build -DPREFIX=scratch -P check_install_tree.cmake
# Installs the build into PREFIX and checks the tree: every file in place, every desktop entry
# pointing at a program and an icon that were installed, the manual page readable, and the
# freedesktop validators (where this machine has them) content with the files.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(failures)
macro(fail text)
  list(APPEND failures "${text}")
endmacro()

set(apps share/applications)
set(expected
  bin/Pendra2 bin/Stepcraft bin/Chimecraft bin/pendra2-cli bin/pendra2-virtual-board
  ${apps}/org.pendra2.Pendra2.desktop ${apps}/org.pendra2.Stepcraft.desktop
  ${apps}/org.pendra2.Chimecraft.desktop
  share/mime/packages/pendra2.xml
  share/metainfo/org.pendra2.Pendra2.metainfo.xml
  lib/udev/rules.d/70-pendra2.rules
  share/man/man1/pendra2-cli.1
  share/doc/pendra2/guide/ja.md share/doc/pendra2/guide/images/launcher.png)
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    fail("missing ${f}")
  endif()
endforeach()

# A desktop entry is only as good as the program and icon it names.
file(GLOB entries ${PREFIX}/${apps}/*.desktop)
foreach(entry ${entries})
  file(STRINGS ${entry} exec REGEX "^Exec=")
  file(STRINGS ${entry} icon REGEX "^Icon=")
  list(GET exec 0 exec)  # the entry's own; an action's Exec comes later
  string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" program "${exec}")
  string(REGEX REPLACE "^Icon=" "" icon "${icon}")
  if(NOT EXISTS ${PREFIX}/bin/${program})
    fail("${entry} starts '${program}', which is not installed")
  endif()
  foreach(size scalable 16x16 48x48 256x256)
    set(file ${PREFIX}/share/icons/hicolor/${size}/apps/${icon}.svg)
    if(NOT size STREQUAL "scalable")
      set(file ${PREFIX}/share/icons/hicolor/${size}/apps/${icon}.png)
    endif()
    if(NOT EXISTS ${file})
      fail("${entry} shows icon '${icon}', which is not installed at ${size}")
    endif()
  endforeach()
endforeach()

file(READ ${PREFIX}/share/man/man1/pendra2-cli.1 man)
if(NOT man MATCHES "^\\.TH PENDRA2\\\\-CLI 1" OR NOT man MATCHES "\n\\.SS \"simulate ")
  fail("pendra2-cli.1 is not the manual page with every command")
endif()
find_program(GROFF groff)
if(GROFF)
  execute_process(COMMAND ${GROFF} -man -Tutf8 -ww -z ${PREFIX}/share/man/man1/pendra2-cli.1
    ERROR_VARIABLE warnings RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR warnings)
    fail("groff finds fault with pendra2-cli.1: ${warnings}")
  endif()
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${entries}
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR out MATCHES "error:|warning:")
    fail("desktop-file-validate: ${out}")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
    ${PREFIX}/share/metainfo/org.pendra2.Pendra2.metainfo.xml
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("appstreamcli validate: ${out}")
  endif()
endif()
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
  # The MIME database compiled from our XML alone must know both file types.
  execute_process(COMMAND ${UPDATE_MIME_DATABASE} ${PREFIX}/share/mime
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
  file(READ ${PREFIX}/share/mime/types types)
  if(NOT status EQUAL 0 OR NOT types MATCHES "application/x-pendra2-flowchart"
     OR NOT types MATCHES "application/x-pendra2-tune")
    fail("update-mime-database: ${out}")
  endif()
endif()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "installed tree in ${PREFIX} is complete")
