# Fails when a source includes a header of a layer above its own:
# toolkit/ sees only itself; numbers/ and tips/ see the toolkit and
# themselves; app/ sees everything.
#   cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake
set(allowed_toolkit "toolkit")
set(allowed_numbers "toolkit|numbers")
set(allowed_tips "toolkit|tips")
set(failed "")
foreach(layer toolkit numbers tips)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.h")
  foreach(file ${files})
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z0-9_]+/")
    foreach(line ${lines})
      string(REGEX MATCH "\"([a-z0-9_]+)/" _ "${line}")
      if(NOT CMAKE_MATCH_1 MATCHES "^(${allowed_${layer}})$")
        string(APPEND failed "\n  ${file}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "A lower layer includes an upper one:${failed}")
endif()
file(WRITE "${STAMP}" "")
