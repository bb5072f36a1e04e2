# Fails when a source includes what its layer must not see. Include paths
# are compared whole (relative ones resolved first):
#   core/                  core/ only
#   toolkit/ (common)      core/ and toolkit's common headers
#   lists/ conditions/ draws/ tips/ plays/
#                          core/, toolkit's common headers, their own folder and
#                          the feature they build on (plays: lists)
#   app/                   all of the above
#   toolkit/testing/       core/, toolkit's common headers, itself
#   backends (toolkit/headless, qt, win32, linux)
#                          core/, toolkit/, one another
#   main/                  everything but the test support and the headless backend
# Windows headers (<windows.h> in any case, <wininet.h>, <commctrl.h>, ...) only
# in backends, main/ and platform files (*_win32.cpp, core's too); Qt headers
# only in backends and main/.
#   cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)
set(features lists conditions draws tips plays)
set(builds_on_plays lists)
set(backends headless qt win32 linux)

set(windows_headers
    windows winsock2 ws2tcpip wininet winhttp commctrl commdlg shlobj shellapi shlwapi uxtheme
    objbase ole2 wingdi winuser winbase winreg winerror windowsx richedit mmsystem dwmapi tchar
    versionhelpers)
list(JOIN windows_headers "|" windows_pattern)
set(windows_pattern "^(${windows_pattern})\\.h$")
# <QWidget>, <QtCore>, <QtWidgets/qwidget.h>
set(qt_pattern "^Q[A-Za-z0-9_]*(/.*)?$")

# The layer of a path below SOURCE_DIR: core, toolkit, testing, backend,
# a feature's name, app, main; empty for anything else.
function(layer_of path out)
  set(layer "")
  if(path MATCHES "^toolkit/([a-z0-9_]+)/")
    if(CMAKE_MATCH_1 IN_LIST backends)
      set(layer backend)
    elseif(CMAKE_MATCH_1 STREQUAL "testing")
      set(layer testing)
    else()
      set(layer toolkit)
    endif()
  elseif(path MATCHES "^([a-z0-9_]+)/")
    set(top ${CMAKE_MATCH_1})
    if(top MATCHES "^(core|toolkit|app|main)$" OR top IN_LIST features)
      set(layer ${top})
    endif()
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Whether a file of layer `from` may include a header of layer `to`.
function(may_see from to out)
  set(ok FALSE)
  if(to STREQUAL from OR to STREQUAL "core")
    set(ok TRUE)
  elseif(to STREQUAL "toolkit")
    set(ok TRUE)
    if(from STREQUAL "core")
      set(ok FALSE)
    endif()
  elseif(to IN_LIST features)
    if(from STREQUAL "app" OR from STREQUAL "main" OR to IN_LIST builds_on_${from})
      set(ok TRUE)
    endif()
  elseif(to STREQUAL "app")
    set(ok FALSE)
    if(from STREQUAL "main")
      set(ok TRUE)
    endif()
  elseif(to STREQUAL "backend")
    if(from STREQUAL "main" OR from STREQUAL "backend")
      set(ok TRUE)
    endif()
  elseif(to STREQUAL "testing")
    if(from STREQUAL "backend")
      set(ok TRUE)
    endif()
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

set(failed "")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
list(SORT files)
foreach(file ${files})
  layer_of("${file}" layer)
  if(layer STREQUAL "")
    string(APPEND failed "\n  ${file}: a folder without a layer rule")
    continue()
  endif()
  get_filename_component(name "${file}" NAME)
  get_filename_component(folder "${SOURCE_DIR}/${file}" DIRECTORY)
  set(native FALSE)
  if(layer MATCHES "^(backend|main)$")
    set(native TRUE)
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${lines})
    string(REGEX MATCH "[<\"]([^>\"]+)[>\"]" _ "${line}")
    set(header "${CMAKE_MATCH_1}")
    string(TOLOWER "${header}" lower)
    if(lower MATCHES "${windows_pattern}" AND NOT native AND NOT name MATCHES "_win32\\.cpp$")
      string(APPEND failed "\n  ${file}: ${line} (Windows header outside the platform code)")
      continue()
    endif()
    if(header MATCHES "${qt_pattern}" AND NOT native)
      string(APPEND failed "\n  ${file}: ${line} (Qt header outside the backends)")
      continue()
    endif()
    # A path beside the file counts as the path it names below SOURCE_DIR.
    set(target "${header}")
    if(EXISTS "${folder}/${header}")
      get_filename_component(absolute "${folder}/${header}" ABSOLUTE)
      file(RELATIVE_PATH target "${SOURCE_DIR}" "${absolute}")
    endif()
    layer_of("${target}" to)
    if(to STREQUAL "")
      if(target MATCHES "^\\.\\./")
        string(APPEND failed "\n  ${file}: ${line} (outside the sources)")
      endif()
      continue()
    endif()
    may_see(${layer} ${to} ok)
    if(NOT ok)
      string(APPEND failed "\n  ${file}: ${line} (${layer} must not see ${target})")
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Includes across the layers:${failed}")
endif()
file(WRITE "${STAMP}" "")
