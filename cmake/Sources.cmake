# The program's libraries, one per layer.

add_subdirectory(src/core)

add_library(qelmar_toolkit STATIC
  src/toolkit/toolkit.cpp
  src/toolkit/files.cpp
  src/toolkit/file_dialogs.cpp
  src/toolkit/data_folder.cpp
  src/toolkit/task.cpp
  src/toolkit/placement.cpp
  src/toolkit/ask_text.cpp
  src/toolkit/views.cpp
  src/toolkit/actions.cpp
  src/toolkit/png.cpp
  src/toolkit/canvas.cpp
  src/toolkit/history.cpp)
# The atomic file replacement, as each system does it.
if(WIN32)
  target_sources(qelmar_toolkit PRIVATE src/toolkit/files_win32.cpp)
else()
  target_sources(qelmar_toolkit PRIVATE src/toolkit/files_posix.cpp)
endif()
target_include_directories(qelmar_toolkit PUBLIC ${PROJECT_SOURCE_DIR}/src)
# Work off the window's thread (Application::RunOffThread).
find_package(Threads REQUIRED)
# PNG pictures; the Windows program carries zlib inside its .exe.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
target_link_libraries(qelmar_toolkit PUBLIC qelmar_core Threads::Threads PRIVATE ZLIB::ZLIB)

# The test user and the recorder of notices, questions and dialogs: only
# tests, benchmarks and screenshot programs link them, never the program.
add_library(qelmar_toolkit_testing STATIC src/toolkit/testing/driver.cpp)
target_link_libraries(qelmar_toolkit_testing PUBLIC qelmar_toolkit)

# In-memory controls, for tests only.
add_library(qelmar_toolkit_headless STATIC src/toolkit/headless/headless.cpp)
target_link_libraries(qelmar_toolkit_headless PUBLIC qelmar_toolkit qelmar_toolkit_testing)

# The features, each a library of its own over the core and the toolkit.
add_subdirectory(src/lists)
add_subdirectory(src/conditions)
add_subdirectory(src/draws)
add_subdirectory(src/plays)
add_subdirectory(src/tips)

# The window and its handlers, without an entry point or a backend.
add_library(qelmar_app STATIC
  src/app/tables.cpp
  src/app/main_table.cpp
  src/app/filter_table.cpp
  src/app/filter_form.cpp
  src/app/draws_table.cpp
  src/app/draws_form.cpp
  src/app/draws_update.cpp
  src/app/draws_window_state.cpp
  src/app/plays_table.cpp
  src/app/plays_form.cpp
  src/app/backtest_table.cpp
  src/app/backtest_form.cpp
  src/app/main_window.cpp
  src/app/list_menu.cpp
  src/app/tips_rotation.cpp)
target_link_libraries(qelmar_app PUBLIC qelmar_lists qelmar_conditions qelmar_draws qelmar_plays
                                        qelmar_tips)
# The build's addresses and folders (app/config.h) are the window's business alone.
target_include_directories(qelmar_app PUBLIC ${PROJECT_BINARY_DIR}/generated)

# libcurl HTTP and the program's folder, for the Linux program.
if(NOT WIN32)
  find_package(CURL REQUIRED)
  add_library(qelmar_platform_linux STATIC src/toolkit/linux/linux_platform.cpp)
  target_link_libraries(qelmar_platform_linux PUBLIC qelmar_toolkit CURL::libcurl)
endif()

# The Windows program: native controls, WinInet, one static .exe.
if(WIN32)
  add_library(qelmar_toolkit_win32 STATIC
    src/toolkit/win32/wide.cpp
    src/toolkit/win32/win32_app.cpp
    src/toolkit/win32/win32_window.cpp
    src/toolkit/win32/win32_label.cpp
    src/toolkit/win32/win32_list.cpp
    src/toolkit/win32/win32_platform.cpp
    src/toolkit/win32/win32_menu.cpp
    src/toolkit/win32/win32_hint.cpp
    src/toolkit/win32/win32_dialogs.cpp
    src/toolkit/win32/win32_modal.cpp
    src/toolkit/win32/win32_task.cpp
    src/toolkit/win32/win32_canvas.cpp)
  target_compile_definitions(qelmar_toolkit_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                         NOMINMAX _WIN32_WINNT=0x0601)
  target_link_libraries(qelmar_toolkit_win32 PUBLIC qelmar_toolkit comctl32 uxtheme wininet
                                                    shell32 comdlg32 ole32 gdi32 user32)

  # The test user, kept out of the program.
  add_library(qelmar_toolkit_win32_driver STATIC src/toolkit/win32/win32_driver.cpp
                                                 src/toolkit/win32/win32_menu_driver.cpp)
  target_link_libraries(qelmar_toolkit_win32_driver PUBLIC qelmar_toolkit_win32 qelmar_toolkit_testing)

  add_executable(Qelmar3D WIN32 src/main/main_win32.cpp res/windows/qelmar3d.rc)
  target_include_directories(Qelmar3D PRIVATE res/windows)
  target_link_libraries(Qelmar3D PRIVATE qelmar_app qelmar_toolkit_win32)
  # -s: the shipped program carries no debug information.
  target_link_options(Qelmar3D PRIVATE -municode $<$<NOT:$<CONFIG:Debug>>:-s>)
endif()

# The layers hold: an include that a layer must not see fails the build.
file(GLOB_RECURSE QELMAR_LAYER_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp
     ${PROJECT_SOURCE_DIR}/src/*.h)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/layers.stamp
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src
          -DSTAMP=${PROJECT_BINARY_DIR}/layers.stamp -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  DEPENDS ${QELMAR_LAYER_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking what each layer includes")
add_custom_target(qelmar_layers ALL DEPENDS ${PROJECT_BINARY_DIR}/layers.stamp)
add_dependencies(qelmar_toolkit qelmar_layers)
