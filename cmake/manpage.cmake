# Writes the man page of zorva-cli (OUT) from its --help text (CLI) into the page's frame
# (zorva-cli.1.in beside this script), with VERSION.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE USAGE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed: ${status}")
endif()
# troff reads "\" as an escape and a leading "." or "'" as a request.
string(REPLACE "\\" "\\e" USAGE "${USAGE}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" USAGE "${USAGE}")
string(REGEX REPLACE "\n$" "" USAGE "${USAGE}")
# Only a changed page is replaced, so that an unchanged text rebuilds nothing.
configure_file(${CMAKE_CURRENT_LIST_DIR}/zorva-cli.1.in ${OUT} @ONLY)
