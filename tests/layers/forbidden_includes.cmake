# cmake -DSCRATCH=DIR -DTABLE=FILE -DCHECKER=CheckLayers.cmake -P forbidden_includes.cmake
# The layering check itself: a small tree with one include of each forbidden kind must be
# refused, each one named; the same tree without them must pass.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${SCRATCH})
function(put path text)
  file(WRITE ${SCRATCH}/${path} "${text}")
endfunction()
put(flowchart/core.cpp "#include \"flowchart/core.h\"\n#include <QString>\n")
put(flowchart/core.h "#include \"flowchart_ui/flowchart_window.h\"\n#include <vector>\n")
put(melody/edits.cpp "#include \"melody/view/score_view.h\"\n#include \"../secret.h\"\n")
put(cli/render.cpp "#include \"melody_ui/score_canvas.h\"\n#include \"tests/support/fake.h\"\n")
put(device/virtual_transport.cpp "#include <QLocalSocket>\n#include \"device/board.h\"\n")

function(run out_status out_text)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${SCRATCH} -DTABLE=${TABLE} -P ${CHECKER}
                  RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE text)
  set(${out_status} ${status} PARENT_SCOPE)
  set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

run(status text)
if(status EQUAL 0)
  message(FATAL_ERROR "forbidden includes passed the check:\n${text}")
endif()
foreach(expected
    "flowchart/core.cpp includes <QString>: flowchart is Qt-free"
    "flowchart/core.h includes \"flowchart_ui/flowchart_window.h\": flowchart may not use stepcraft"
    "melody/edits.cpp includes \"melody/view/score_view.h\": melody may not use melody_view"
    "melody/edits.cpp includes \"../secret.h\": a path climbs out of its folder"
    "cli/render.cpp includes \"melody_ui/score_canvas.h\": cli may not use chimecraft"
    "cli/render.cpp includes \"tests/support/fake.h\", which is in no layer"
    "6 include(s) the layers forbid")
  string(FIND "${text}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the check did not say: ${expected}\nIt said:\n${text}")
  endif()
endforeach()

# The platform's socket may use Qt; with the others gone the tree passes.
file(REMOVE ${SCRATCH}/flowchart/core.cpp ${SCRATCH}/melody/edits.cpp ${SCRATCH}/cli/render.cpp)
put(flowchart/core.h "#include \"interaction/draw_list.h\"\n#include <vector>\n")
run(status text)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "allowed includes were refused:\n${text}")
endif()
