# Warnings, sanitizers and the small helpers every module uses to declare its libraries and tests.

add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wnon-virtual-dtor>
  $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU>>:-Wshadow=local>
  $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:Clang>>:-Wshadow-uncaptured-local>
  $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic>)
if(KELVORK_WERROR)
  target_compile_options(project_warnings INTERFACE -Werror)
endif()

if(KELVORK_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(KELVORK_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT KELVORK_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KELVORK_SANITIZE must be empty, 'address' or 'thread'")
endif()

# kelvork_add_test(<name> [QT_APP] SOURCES ... LIBS ... [ENV VAR=VALUE ...])
# One GoogleTest executable; its cases are registered with CTest one by one. QT_APP gives the suite
# a main that creates a QApplication (screens run headless on the offscreen platform).
function(kelvork_add_test name)
  cmake_parse_arguments(ARG "QT_APP" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT_APP)
    target_link_libraries(${name} PRIVATE kelvork_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock project_warnings)
  if(ARG_ENV)
    # A test property cannot carry a list through test discovery, so further variables are set
    # by the executable itself before its main runs.
    set(env_code "")
    foreach(kv IN LISTS ARG_ENV)
      string(FIND "${kv}" "=" eq)
      string(SUBSTRING "${kv}" 0 ${eq} key)
      math(EXPR value_start "${eq} + 1")
      string(SUBSTRING "${kv}" ${value_start} -1 value)
      string(APPEND env_code "        setenv(\"${key}\", \"${value}\", 1);\n")
    endforeach()
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cpp @ONLY CONTENT
      "#include <cstdlib>\nnamespace {\nstruct TestEnvironment {\n    TestEnvironment()\n    {\n${env_code}    }\n} environment;\n}\n")
    target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cpp)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
