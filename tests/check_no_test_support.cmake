# Fails when a program or product library holds the test user, the recorder
# of notices or the name dialog finder, which only tests link.
# cmake -DNM=... "-DFILES=a;b" -P check_no_test_support.cmake
cmake_minimum_required(VERSION 3.25)
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${NM} -C ${file} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc
                  ERROR_QUIET)
  if(NOT rc EQUAL 0 OR symbols STREQUAL "")
    message(FATAL_ERROR "no symbols read from ${file}")
  endif()
  string(REGEX MATCH "[^\n]*(tk::Recorder|tk::UserDriver|tk::ShownTextDialog)[^\n]*" found
               "${symbols}")
  if(found)
    message(FATAL_ERROR "${file} holds test support: ${found}")
  endif()
endforeach()
