# The suite's layers, lowest first. A layer's files may include the headers of its own
# folders and of the layers it USES, and its targets may link only those; a layer can only
# use layers declared before it, so nothing reaches up. The cores are Qt-free: only QT layers
# include Qt headers (but their CORE_FILES), and a Qt-free layer only in its QT_FILES.
#
# Held three ways: every target's include root holds only its own folders' headers (see
# pendra2_include_root), pendra2_check_layer_links() refuses a link a layer may not make when
# the build is configured, and the `layering` test reads every #include of the tree.

set(PENDRA2_LAYER_TABLE ${CMAKE_BINARY_DIR}/layers_table.cmake)
file(WRITE ${PENDRA2_LAYER_TABLE} "# Written by cmake/Layers.cmake.\n")
set(PENDRA2_LAYER_NAMES)

# pendra2_layer(NAME FOLDERS folder... [USES layer...] [QT] [QT_FILES glob...]
#               [CORE_FILES glob...])
macro(pendra2_layer name)
  cmake_parse_arguments(LAYER "QT" "" "FOLDERS;USES;QT_FILES;CORE_FILES" ${ARGN})
  foreach(used ${LAYER_USES})
    if(NOT used IN_LIST PENDRA2_LAYER_NAMES)
      message(FATAL_ERROR "layer ${name} uses ${used}, which is not a layer below it")
    endif()
  endforeach()
  list(APPEND PENDRA2_LAYER_NAMES ${name})
  set(PENDRA2_LAYER_${name}_FOLDERS ${LAYER_FOLDERS})
  set(PENDRA2_LAYER_${name}_USES ${LAYER_USES})
  set(PENDRA2_LAYER_${name}_QT ${LAYER_QT})
  set(PENDRA2_LAYER_${name}_QT_FILES ${LAYER_QT_FILES})
  set(PENDRA2_LAYER_${name}_CORE_FILES ${LAYER_CORE_FILES})
  foreach(field FOLDERS USES QT QT_FILES CORE_FILES)
    file(APPEND ${PENDRA2_LAYER_TABLE}
         "set(PENDRA2_LAYER_${name}_${field} \"${PENDRA2_LAYER_${name}_${field}}\")\n")
  endforeach()
  file(APPEND ${PENDRA2_LAYER_TABLE} "list(APPEND PENDRA2_LAYER_NAMES ${name})\n")
endmacro()

pendra2_layer(board_image FOLDERS board_image)
pendra2_layer(interaction FOLDERS interaction USES board_image)
pendra2_layer(flowchart FOLDERS flowchart USES interaction board_image)
pendra2_layer(flowchart_view FOLDERS flowchart/view USES flowchart interaction board_image)
pendra2_layer(melody FOLDERS melody USES interaction board_image)
pendra2_layer(melody_view FOLDERS melody/view USES melody interaction board_image)
pendra2_layer(board_sim FOLDERS board_sim USES melody board_image)
pendra2_layer(sound FOLDERS sound USES board_image)
# Tunes to and from other programs' files: MIDI in and out (libsmf), WAV out (libsndfile) in
# the suite's music-box voice.
pendra2_layer(melody_exchange FOLDERS melody/exchange USES melody sound interaction board_image)
# The board link is Qt-free; only the virtual board's socket is Qt's.
pendra2_layer(device FOLDERS device USES interaction board_image
  QT_FILES device/virtual_transport.cpp)
pendra2_layer(ui_common FOLDERS ui_common ui_common/replay
  USES device board_sim sound interaction board_image QT)
# The board model is the Qt-free part: the sanitizer build and the tests' fake run it.
pendra2_layer(virtual_board FOLDERS virtual_board
  USES ui_common device board_sim sound melody interaction board_image QT
  CORE_FILES virtual_board/board_model.* virtual_board/board_options.*)
pendra2_layer(stepcraft FOLDERS flowchart_ui flowchart_ui/dialogs
  USES ui_common device flowchart_view flowchart board_sim sound melody interaction board_image QT)
pendra2_layer(chimecraft FOLDERS melody_ui
  USES ui_common device melody_view melody_exchange melody sound interaction board_image QT)
pendra2_layer(launcher FOLDERS launcher USES ui_common device interaction QT)
# The command line draws and prints through the cores' pictures and ui_common's painter; it
# never reaches into an editor.
pendra2_layer(cli FOLDERS cli
  USES ui_common device board_sim flowchart_view flowchart melody_view melody_exchange melody
       interaction board_image QT)

include(${CMAKE_CURRENT_LIST_DIR}/LayerLookup.cmake)

# Refuses, when the build is configured, a target that links a library of a layer its own
# layer may not use. Targets outside the layers (tests, benchmarks, artwork) are free.
function(pendra2_check_layer_links)
  get_property(targets GLOBAL PROPERTY PENDRA2_TARGETS)
  foreach(target ${targets})
    get_target_property(folders ${target} PENDRA2_FOLDERS)
    list(GET folders 0 folder)
    pendra2_layer_of(${folder} layer)
    if(NOT layer)
      continue()
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(links ${target} LINK_LIBRARIES)
    endif()
    foreach(link ${links})
      if(NOT TARGET ${link})
        continue()
      endif()
      get_target_property(linked_folders ${link} PENDRA2_FOLDERS)
      if(NOT linked_folders)
        continue()
      endif()
      list(GET linked_folders 0 linked_folder)
      pendra2_layer_of(${linked_folder} linked_layer)
      if(linked_layer AND NOT linked_layer STREQUAL layer AND
         NOT linked_layer IN_LIST PENDRA2_LAYER_${layer}_USES)
        message(FATAL_ERROR "${target} (layer ${layer}) links ${link} (layer ${linked_layer}), "
                            "which ${layer} may not use: see cmake/Layers.cmake")
      endif()
    endforeach()
  endforeach()
endfunction()
