# cpack -G DEB in the build folder makes a Debian package of what
# cmake/Install.cmake installs. Its library dependencies are read from the
# binaries by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_PACKAGE_NAME qelmorvane)
set(CPACK_PACKAGE_VENDOR "The QELMorvane developers")
set(CPACK_PACKAGE_CONTACT "The QELMorvane developers <qelmorvane@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/qelmorvane/qelmorvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for the QEL-1 wall touch panel")
set(CPACK_PACKAGE_DESCRIPTION
  "QELMorvane designs the pages of the QEL-1, a wall-mounted 320 x 240 touch panel that controls an audio system, keeps them in template files and transfers them to and from the panel over a serial line; it also replaces the panel's firmware. The package holds the Qt desktop program qelmorvane, the command line qelctl and a simulated panel. Licence: GPL-3.0-or-later.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The panel's glyphs are drawn with that face, found through fontconfig; Qt
# opens windows through its platform plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bash-completion)

include(CPack)
