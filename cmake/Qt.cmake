# The Linux program on Qt 6 Widgets: the backend, the test user, the program
# and how it installs.
if(WIN32)
  return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

add_library(qelmar_toolkit_qt STATIC src/toolkit/qt/qt_backend.cpp src/toolkit/qt/qt_chinese.cpp
                                     src/toolkit/qt/qt_label_text.cpp src/toolkit/qt/qt_menu.cpp
                                     src/toolkit/qt/qt_modal.cpp src/toolkit/qt/qt_key_edit.cpp
                                     src/toolkit/qt/qt_text_controls.cpp
                                     src/toolkit/qt/qt_task.cpp src/toolkit/qt/qt_canvas.cpp)
target_link_libraries(qelmar_toolkit_qt PUBLIC qelmar_toolkit Qt6::Widgets)

# Qt Test stays out of the program: only tests and benchmarks drive a window.
add_library(qelmar_toolkit_qt_driver STATIC src/toolkit/qt/qt_driver.cpp)
target_link_libraries(qelmar_toolkit_qt_driver PUBLIC qelmar_toolkit_qt qelmar_toolkit_testing Qt6::Test)

add_executable(qelmar3d src/main/main_qt.cpp res/qelmar3d.qrc)
set_target_properties(qelmar3d PROPERTIES AUTORCC ON)
target_link_libraries(qelmar3d PRIVATE qelmar_app qelmar_toolkit_qt qelmar_platform_linux)

include(GNUInstallDirs)
install(TARGETS qelmar3d RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES res/qelmar3d.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES res/icons/qelmar3d-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME qelmar3d.png)
endforeach()
install(FILES res/qelmar3d.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
