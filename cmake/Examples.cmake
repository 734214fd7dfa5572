# The example gallery: installed beside the programs, and found in the source tree by a
# build tree's programs, so "サンプルを開く" works before anything is installed.
if(TARGET pendra2_ui_common)
  target_compile_definitions(pendra2_ui_common
    PRIVATE PENDRA2_SOURCE_EXAMPLES="${PROJECT_SOURCE_DIR}/resources/examples")
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/examples/
  DESTINATION share/pendra2/examples
  PATTERN "*.py" EXCLUDE)
