# Installs Termlink into a scratch prefix, builds the example with the installed header and
# pkg-config file, and runs it against a simulated terminal that connects over TCP.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component termlink --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installing the termlink component failed")
endif()

file(GLOB_RECURSE pc_file ${prefix}/*/termlink.pc)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
  pkg-config --define-variable=prefix=${prefix} --cflags --libs termlink
  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know the installed termlink")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
string(REGEX MATCH "-L([^ ;]+)" libflag "${flags}")
separate_arguments(extra UNIX_COMMAND "${EXTRA_FLAGS}")
execute_process(COMMAND ${CC} -std=c11 -Wall -Wextra -Werror ${extra} ${EXAMPLE} -o ${WORK_DIR}/list_terminal
  ${flags} -Wl,-rpath,${CMAKE_MATCH_1} RESULT_VARIABLE rc ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the example does not build against the installed library:\n${errors}")
endif()

string(RANDOM LENGTH 4 ALPHABET 123456789 random)
math(EXPR port "20000 + ${random}")
execute_process(
  COMMAND sh -c "\"${SIMULATOR}\" --sno 5150 --tcp ${port} --persons 2 --records 3 --no-reconnect >/dev/null & sim=$!; TERMLINK_TCP_PORT=${port} \"${WORK_DIR}/list_terminal\" 5150 tcp; rc=$?; kill $sim 2>/dev/null; exit $rc"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT out MATCHES "2 persons" OR NOT out MATCHES "3 clocking records")
  message(FATAL_ERROR "the example did not list the simulated terminal (${rc}):\n${out}\n${err}")
endif()
message(STATUS "example output:\n${out}")
