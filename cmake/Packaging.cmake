# Packages made with CPack: a .deb of the Linux program, a .zip of the static
# Windows program. `cpack` in a binary folder makes the one for its platform.

set(CPACK_PACKAGE_NAME qelmar3d)
set(CPACK_PACKAGE_VENDOR "Qelmar")
set(CPACK_PACKAGE_CONTACT "Qelmar <support@qelmar.test>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D lottery number assistant")
set(CPACK_PACKAGE_DESCRIPTION
    "Builds and trims bet lists for the three-digit numbers lottery: digits per position, \
every combination in tick order, deletion lists, typed numbers and removal of numbers \
spelled with given digits. The interface is in Simplified Chinese.")
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
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Library packages from what the program links (dpkg-shlibdeps), plus what
  # Qt loads at run time: the platform plugins, and a font with Chinese glyphs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei | fonts-noto-cjk")
endif()

include(CPack)
