# The program's libraries, one per layer.

add_library(qelmar_toolkit STATIC
  src/toolkit/text.cpp
  src/toolkit/gbk.cpp
  src/toolkit/toolkit.cpp
  src/toolkit/driver.cpp)
target_include_directories(qelmar_toolkit PUBLIC ${PROJECT_SOURCE_DIR}/src
                                                 ${PROJECT_BINARY_DIR}/generated)

add_library(qelmar_toolkit_headless STATIC src/toolkit/headless/headless.cpp)
target_link_libraries(qelmar_toolkit_headless PUBLIC qelmar_toolkit)

add_library(qelmar_numbers STATIC
  src/numbers/panels.cpp
  src/numbers/generation.cpp
  src/numbers/editing.cpp)
target_link_libraries(qelmar_numbers PUBLIC qelmar_toolkit)

add_library(qelmar_tips STATIC src/tips/qmwebtips.cpp)
target_link_libraries(qelmar_tips PUBLIC qelmar_toolkit)

# The window and its handlers, without an entry point or a backend.
add_library(qelmar_app STATIC
  src/app/layout.cpp
  src/app/main3d.cpp
  src/app/tips_rotation.cpp)
target_link_libraries(qelmar_app PUBLIC qelmar_numbers qelmar_tips)

# libcurl HTTP and the program's folder, for the Linux program.
if(NOT WIN32)
  find_package(CURL REQUIRED)
  add_library(qelmar_platform_linux STATIC src/toolkit/linux/linux_platform.cpp)
  target_link_libraries(qelmar_platform_linux PUBLIC qelmar_toolkit CURL::libcurl)
endif()
