# Runs a Windows test program under Wine with the system at DPI dots per inch
# (the LogPixels that Wine reads at each process's start), then puts 96 back.
#   cmake -DEMULATOR=wine -DEXE=... -DFILTER=... -DDPI=120 -P at_dpi.cmake
set(key "HKCU\\Control Panel\\Desktop")
execute_process(COMMAND ${EMULATOR} reg add ${key} /v LogPixels /t REG_DWORD /d ${DPI} /f
                OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${EMULATOR} ${EXE} --gtest_filter=${FILTER} RESULT_VARIABLE rc)
execute_process(COMMAND ${EMULATOR} reg add ${key} /v LogPixels /t REG_DWORD /d 96 /f
                OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FILTER} at ${DPI} dpi: ${rc}")
endif()
