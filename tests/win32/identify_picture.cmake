# Runs the tests of a Windows test program that save a picture under Wine,
# then has ImageMagick open the picture and checks the size the program
# wrote beside it.
#   -DEMULATOR=wine -DEXE=win32_tests.exe -DFILTER=... -DOUT=/abs/picture.png
file(REMOVE "${OUT}" "${OUT}.size")
string(REPLACE "/" "\\" windows_path "Z:${OUT}")
set(ENV{QELMAR3D_DRAWS_PICTURE} "${windows_path}")
execute_process(COMMAND ${EMULATOR} "${EXE}" "--gtest_filter=${FILTER}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} --gtest_filter=${FILTER} failed: ${rc}")
endif()
if(NOT EXISTS "${OUT}.size")
  message(FATAL_ERROR "no picture was saved")
endif()
file(READ "${OUT}.size" want)
execute_process(COMMAND identify -format "%m %w %h" "${OUT}" OUTPUT_VARIABLE got RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT got STREQUAL want)
  message(FATAL_ERROR "identify: '${got}' (exit ${rc}), the chart is '${want}'")
endif()
