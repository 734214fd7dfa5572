# cmake -DCLI=path/to/pendra2-cli -DOUT=path/to/pendra2-cli.1 -P WriteManPage.cmake
# The manual page is what the program itself prints with --man, so it is written from the
# same texts as --help. Written to a side file first so a failed run leaves no half page.
execute_process(COMMAND ${CLI} --man
  OUTPUT_FILE ${OUT}.part
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUT}.part)
  message(FATAL_ERROR "${CLI} --man failed: ${status}")
endif()
file(RENAME ${OUT}.part ${OUT})
