# What `cmake --install` puts where, and the packages CPack makes of it: a
# Debian package on Linux, a zip of the program and the examples for Windows.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME pidview)
set(CPACK_PACKAGE_VENDOR "pidview developers")
set(CPACK_PACKAGE_CONTACT "pidview developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the measurement files of a PID motor speed controller")
# Binaries built with debug information lose it in the package.
set(CPACK_STRIP_FILES ON)

file(GLOB PIDVIEW_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/*.PID)

if(WIN32)
  # A folder to unpack anywhere: the program (which runs on its own) and the
  # example runs to open with it.
  install(TARGETS pidview RUNTIME DESTINATION .)
  install(FILES ${PIDVIEW_EXAMPLES} DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pidview-${PROJECT_VERSION}-win32)
else()
  install(TARGETS pidview pidpage RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PIDVIEW_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DATADIR}/pidview/examples)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/pidview.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/pidview.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

  # Manual pages go in compressed, as Debian's tools do it (-n: no name or
  # time stamp, so the same page gives the same bytes).
  find_program(GZIP gzip REQUIRED)
  set(PIDVIEW_MANUALS)
  foreach(page pidview.1 pidpage.1)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/dist/${page}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/dist
                       COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/dist/${page} > ${PROJECT_BINARY_DIR}/dist/${page}.gz
                       DEPENDS ${PROJECT_SOURCE_DIR}/dist/${page}
                       VERBATIM)
    list(APPEND PIDVIEW_MANUALS ${PROJECT_BINARY_DIR}/dist/${page}.gz)
  endforeach()
  add_custom_target(manuals ALL DEPENDS ${PIDVIEW_MANUALS})
  install(FILES ${PIDVIEW_MANUALS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  # pidview_1.0_amd64.deb
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # The long description; CPack puts the summary line above it.
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
      "pidview opens a .PID file from its menu and shows one fixed page: the set\n"
      "parameters and final values as text and the 256 speed samples as a chart\n"
      "against the target speed; it prints that page on the default printer.\n"
      "pidpage draws the same page into a PNG file without a display.")
  # The libraries come from the binaries; the page's fonts and Qt's X11
  # plugin are loaded at run time, where dpkg-shlibdeps cannot see them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-unifont, fonts-ipafont-gothic, qt6-qpa-plugins")
  find_program(DPKG dpkg)
  if(DPKG)
    execute_process(COMMAND ${DPKG} --print-architecture OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  # Where `cpack -G DEB` in the build tree writes the package, for the test.
  set(PIDVIEW_DEB
      ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}_${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}.deb)
endif()

include(CPack)
