# The Debian package (`cpack -G DEB` in the build folder; scripts/package).
# Installs under /usr; the dependencies come from the binaries (dpkg-shlibdeps).
set(TALVO_PACKAGE_MAINTAINER "Ostra <support@ostra.example>" CACHE STRING
  "Maintainer of the Debian package: name <address>")

# The program's version is a valid Debian version of a native package: it
# begins with a digit and its commit suffix is joined by "+".
set(TALVO_PACKAGE_VERSION ${TALVO_VERSION})

execute_process(COMMAND git log -1 --format=%aD
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  OUTPUT_VARIABLE TALVO_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT TALVO_CHANGELOG_DATE)
  string(TIMESTAMP TALVO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
configure_file(${TALVO_PACKAGING_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
talvo_gzip(talvo_changelog ${CMAKE_BINARY_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${TALVO_PACKAGING_DIR}/copyright
  DESTINATION ${TALVO_INSTALL_DOCDIR})
install(FILES ${TALVO_PACKAGING_DIR}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${TALVO_PACKAGE_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TALVO_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${TALVO_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR Ostra)
set(CPACK_PACKAGE_CONTACT "${TALVO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control software of the calibrator Kalibrator Talvo")
set(CPACK_PACKAGE_DESCRIPTION
  "Composes three-phase test signals (harmonics, interharmonics, dips and swells,\n\
voltage fluctuations), computes what they carry, keeps them in files, sends\n\
them to the calibrator over a serial line, runs schedules of signals and\n\
exports the values into Excel workbooks.\n\
.\n\
Includes the shared library SignalTalvo for test benches (C header,\n\
pkg-config file, CMake package and a Python module) and the simulators of\n\
the calibrator and of the current-to-voltage converter.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_FILE_NAME "${TALVO_PACKAGE_NAME}_${TALVO_PACKAGE_VERSION}_${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs speak Russian with Qt's translations, which no binary links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The public library is announced to ldconfig by a trigger; the scripts of
# our own keep CPack from calling ldconfig in the maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${TALVO_PACKAGING_DIR}/triggers ${TALVO_PACKAGING_DIR}/postinst ${TALVO_PACKAGING_DIR}/postrm)
# Strips what install(TARGETS) installs; the private library copy stays as built.
set(CPACK_STRIP_FILES ON)
include(CPack)
