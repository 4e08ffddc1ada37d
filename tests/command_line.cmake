# Each program refuses a bad value with its usage line and exit status 2, and answers --help
# and --version with status 0.   cmake -DBIN=<bin folder> -P command_line.cmake
set(programs vernadora-script)
if(EXISTS ${BIN}/vernadora)
  list(APPEND programs vernadora)
endif()
if(EXISTS ${BIN}/window_bench)
  list(APPEND programs window_bench)
endif()
foreach(program IN LISTS programs)
  foreach(bad "--seed;12abc" "--seed;-1" "--dir" "--no-such-option" "--runs;0" "--zoom;0.25")
    execute_process(COMMAND ${BIN}/${program} ${bad} RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err INPUT_FILE /dev/null TIMEOUT 20
                    ENCODING UTF-8)
    if(NOT status EQUAL 2 OR NOT err MATCHES "usage: ${program}")
      message(FATAL_ERROR "${program} ${bad}: status ${status}, stderr: ${err}")
    endif()
  endforeach()
  foreach(good "--help" "--version")
    execute_process(COMMAND ${BIN}/${program} ${good} RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
    if(NOT status EQUAL 0 OR NOT out MATCHES "${program}")
      message(FATAL_ERROR "${program} ${good}: status ${status}, stdout: ${out}")
    endif()
  endforeach()
endforeach()
