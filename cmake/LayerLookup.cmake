# pendra2_layer_of(FOLDER OUT): the layer whose folders hold FOLDER, or nothing. Shared by the
# configure-time link check and the include check, which read the same table.
function(pendra2_layer_of folder out)
  set(${out} "" PARENT_SCOPE)
  foreach(layer ${PENDRA2_LAYER_NAMES})
    if(folder IN_LIST PENDRA2_LAYER_${layer}_FOLDERS)
      set(${out} ${layer} PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()
