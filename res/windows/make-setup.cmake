# The setup program beside the .zip: cpack runs this once it has staged the
# .zip's files (CPACK_PRE_BUILD_SCRIPTS), and makensis builds
# Qelmar3D-<version>-setup.exe with setup.nsi from the staged program, so the
# two packages carry the same file.
file(GLOB_RECURSE exe "${CPACK_TEMPORARY_DIRECTORY}/Qelmar3D.exe")
list(LENGTH exe count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one staged Qelmar3D.exe, found: ${exe}")
endif()
set(setup "${CPACK_PACKAGE_DIRECTORY}/Qelmar3D-${CPACK_PACKAGE_VERSION}-setup.exe")
execute_process(
  COMMAND "${CPACK_QELMAR3D_MAKENSIS}" -V2 -WX -INPUTCHARSET UTF8
          "-DVERSION=${CPACK_PACKAGE_VERSION}" "-DEXE=${exe}" "-DOUTFILE=${setup}"
          "-DHOME_URL=${CPACK_QELMAR3D_HOME_URL}" "-DUPDATE_URL=${CPACK_QELMAR3D_UPDATE_URL}"
          "${CPACK_QELMAR3D_SETUP_SCRIPT}"
  COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Setup program: ${setup}")
