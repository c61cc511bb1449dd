# Runs the command line with ARGS and passes when it exits 2 with exactly one line on stderr,
# nothing on stdout, and (when EXPECT is given) that line matching EXPECT.
execute_process(COMMAND ${CLI} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "exit ${rc}, expected 2; stdout: ${out} stderr: ${err}")
endif()
string(REGEX MATCHALL "\n" lines "${err}")
list(LENGTH lines count)
if(NOT count EQUAL 1 OR NOT out STREQUAL "")
  message(FATAL_ERROR "expected one line on stderr and nothing on stdout; stdout: '${out}' stderr: '${err}'")
endif()
if(DEFINED EXPECT AND NOT err MATCHES "${EXPECT}")
  message(FATAL_ERROR "stderr '${err}' does not match '${EXPECT}'")
endif()
