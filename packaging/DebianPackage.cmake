# The Debian package, built by `./quor package` (cpack). Its dependencies are the shared
# libraries the programs use, as dpkg-shlibdeps finds them, and the one they load later.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quor-generator)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tone generator for speakers, rooms, hearing and equipment")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quor Generator plays test tones through the sound card: a constant frequency or a linear "
    "or logarithmic sweep, sine, square or triangular, at a level in decibel steps, for a "
    "period that loops or ends, continuous or pulsed. Four presets are kept in tone settings "
    "files (.qvp), and tone scripts (.qvs) play sequences of tones. The command-line program "
    "quorgen plays the same tones or writes them to WAV files.")
set(QUOR_PACKAGE_MAINTAINER "Quor Generator developers <quor-generator@localhost>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${QUOR_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libsndfile is loaded only when a file is rendered, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsndfile1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
