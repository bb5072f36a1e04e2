# Packages made with CPack: a .deb of the Linux program, a .zip of the static
# Windows program and, with QELMAR3D_SETUP, its setup program. `cpack` in a
# binary folder makes the ones for its platform.

set(CPACK_PACKAGE_NAME qelmar3d)
set(CPACK_PACKAGE_VENDOR "Qelmar")
set(CPACK_PACKAGE_CONTACT "Qelmar <support@qelmar.test>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D lottery number assistant")
# Lines of at most 80 characters, as Debian's control files want them.
set(CPACK_PACKAGE_DESCRIPTION
    "Builds and trims bet lists for the three-digit numbers lottery: digits per\n\
position, every combination in tick order, deletion lists, typed numbers and\n\
removal of numbers spelled with given digits. The interface is in Simplified\n\
Chinese.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QELMAR3D_HOME_URL}")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")

if(WIN32)
  # Everything in one folder at the top of the archive: unzip and start.
  install(TARGETS Qelmar3D RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "Qelmar3D-${PROJECT_VERSION}-win64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  # The setup program, made by makensis from the same staged program.
  option(QELMAR3D_SETUP "cpack makes the NSIS setup program beside the .zip" OFF)
  if(QELMAR3D_SETUP)
    find_program(QELMAR3D_MAKENSIS makensis REQUIRED)
    set(CPACK_QELMAR3D_MAKENSIS "${QELMAR3D_MAKENSIS}")
    set(CPACK_QELMAR3D_SETUP_SCRIPT "${PROJECT_SOURCE_DIR}/res/windows/setup.nsi")
    set(CPACK_QELMAR3D_HOME_URL "${QELMAR3D_HOME_URL}")
    set(CPACK_QELMAR3D_UPDATE_URL "${QELMAR3D_UPDATE_URL}")
    set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/res/windows/make-setup.cmake")
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Library packages from what the program links (dpkg-shlibdeps), plus what
  # Qt loads at run time: the platform plugins and its own texts in Chinese;
  # a font with Chinese glyphs, and xdg-open, through which Qt opens links.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei | fonts-noto-cjk, xdg-utils")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # What every Debian package carries: its copyright, its changelog and a
  # manual page, compressed reproducibly (no name, no time stamp) and at most.
  foreach(f changelog qelmar3d.1)
    configure_file(res/debian/${f}.in ${PROJECT_BINARY_DIR}/debian/${f} @ONLY)
    execute_process(COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/debian/${f}
                    OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/${f}.gz COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  install(FILES res/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qelmar3d)
  install(FILES ${PROJECT_BINARY_DIR}/debian/qelmar3d.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # What software centres list: names, summary, description and screenshots.
  configure_file(res/qelmar3d.metainfo.xml.in ${PROJECT_BINARY_DIR}/qelmar3d.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/qelmar3d.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

include(CPack)
