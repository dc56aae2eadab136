# Install rules, for `cmake --install` to any prefix and for the Debian package.
#
# The program finds its library, the optional flicker table "fliker.dat", the
# export templates and the example signals in its own folder, the folder of
# the executable file (/proc/self/exe, links resolved). An installed program
# therefore keeps a private folder, lib/kalibratortalvo/, that holds the
# real executables and the library exactly as built (the program checks the
# library's MD5 digest); bin/ holds relative links to them, and the shared
# data in share/kalibratortalvo/ is reached through links from that folder.
# The public copy of the library, its header, pkg-config file and CMake
# package serve other programs.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TALVO_PACKAGE_NAME kalibratortalvo)
# Kept in step with GetDllVersion.
set(TALVO_LIBRARY_VERSION 2.4)
set(TALVO_INSTALL_PRIVATEDIR lib/${TALVO_PACKAGE_NAME})
set(TALVO_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/${TALVO_PACKAGE_NAME})
set(TALVO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/SignalTalvo)
set(TALVO_INSTALL_PYTHONDIR lib/python3/dist-packages CACHE STRING
  "Folder under the prefix for the Python module signaltalvo.py")
set(TALVO_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

# A link at <dir>/<name> to <target>, relative so that the tree can move
# (and a package built with DESTDIR stays valid).
function(talvo_install_link dir name target)
  file(RELATIVE_PATH relative /${dir} /${target})
  install(CODE "
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dir}\")
    file(MAKE_DIRECTORY \"\${dir}\")
    file(CREATE_LINK \"${relative}\" \"\${dir}/${name}\" SYMBOLIC)
    message(STATUS \"Installing link: \${dir}/${name} -> ${relative}\")")
endfunction()

# A gzip -9n copy of a file made at build time (man page, changelog).
function(talvo_gzip target source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

# ---------------------------------------------------------------- the program
install(TARGETS KalibratorTalvo talvo-schedule RUNTIME DESTINATION ${TALVO_INSTALL_PRIVATEDIR})
install(FILES $<TARGET_FILE:SignalTalvo> DESTINATION ${TALVO_INSTALL_PRIVATEDIR})
talvo_install_link(${CMAKE_INSTALL_BINDIR} KalibratorTalvo ${TALVO_INSTALL_PRIVATEDIR}/KalibratorTalvo)
talvo_install_link(${CMAKE_INSTALL_BINDIR} talvo-schedule ${TALVO_INSTALL_PRIVATEDIR}/talvo-schedule)
install(TARGETS talvo-calsim talvo-convsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/examples/ExportTemplate.xlsx DESTINATION ${TALVO_INSTALL_DATADIR}/Templates)
install(FILES ${CMAKE_SOURCE_DIR}/examples/balanced-nominal.usa ${CMAKE_SOURCE_DIR}/examples/harmonics-dips-flicker.usa
  DESTINATION "${TALVO_INSTALL_DATADIR}/Test Signals")
talvo_install_link(${TALVO_INSTALL_PRIVATEDIR} Templates ${TALVO_INSTALL_DATADIR}/Templates)
talvo_install_link(${TALVO_INSTALL_PRIVATEDIR} "Test Signals" "${TALVO_INSTALL_DATADIR}/Test Signals")

install(FILES ${TALVO_PACKAGING_DIR}/kalibratortalvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TALVO_PACKAGING_DIR}/kalibratortalvo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

foreach(page KalibratorTalvo talvo-schedule talvo-calsim talvo-convsim)
  set(gz ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz)
  talvo_gzip(talvo_man_${page} ${TALVO_PACKAGING_DIR}/${page}.1 ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# ---------------------------------------------------------------- the library for other programs
install(TARGETS SignalTalvo EXPORT SignalTalvoTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${CMAKE_SOURCE_DIR}/SignalLib/SignalTalvo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT SignalTalvoTargets NAMESPACE SignalTalvo:: DESTINATION ${TALVO_INSTALL_CMAKEDIR})
configure_package_config_file(${TALVO_PACKAGING_DIR}/SignalTalvoConfig.cmake.in
  ${CMAKE_BINARY_DIR}/packaging/SignalTalvoConfig.cmake
  INSTALL_DESTINATION ${TALVO_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/packaging/SignalTalvoConfigVersion.cmake
  VERSION ${TALVO_LIBRARY_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/packaging/SignalTalvoConfig.cmake
  ${CMAKE_BINARY_DIR}/packaging/SignalTalvoConfigVersion.cmake DESTINATION ${TALVO_INSTALL_CMAKEDIR})

# The prefix of the .pc file is found from the file's own place, so that the
# same file serves the package and a tree installed anywhere else.
file(RELATIVE_PATH TALVO_PC_UP /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" TALVO_PC_UP "${TALVO_PC_UP}")
set(TALVO_PC_PREFIX "\${pcfiledir}/${TALVO_PC_UP}")
configure_file(${TALVO_PACKAGING_DIR}/signaltalvo.pc.in ${CMAKE_BINARY_DIR}/packaging/signaltalvo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/signaltalvo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES ${CMAKE_SOURCE_DIR}/SignalLib/python/signaltalvo.py DESTINATION ${TALVO_INSTALL_PYTHONDIR})

set(TALVO_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${TALVO_PACKAGE_NAME})
install(FILES ${CMAKE_SOURCE_DIR}/SignalLib/examples/SetSignalExample.c
  ${CMAKE_SOURCE_DIR}/SignalLib/examples/set_signal_example.py
  DESTINATION ${TALVO_INSTALL_DOCDIR}/examples)
