# What `cmake --install` puts where, and the packages CPack makes of it: a
# Debian package on Linux, a zip of the program and the examples for Windows.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME pidview)
set(CPACK_PACKAGE_VENDOR "pidview developers")
# The project has no public mail address: the reserved name "invalid" can
# never be a real domain, so the field is well-formed without claiming one.
set(CPACK_PACKAGE_CONTACT "pidview developers <maintainers@pidview.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the measurement files of a PID motor speed controller")
# Binaries built with debug information lose it in the package.
set(CPACK_STRIP_FILES ON)

file(GLOB PIDVIEW_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/*.PID)

if(WIN32)
  # A folder to unpack anywhere: the program (which runs on its own) and the
  # example runs to open with it.
  install(TARGETS pidview RUNTIME DESTINATION .)
  install(FILES ${PIDVIEW_EXAMPLES} DESTINATION examples)
  # .txt, so that a double click opens it.
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pidview-${PROJECT_VERSION}-win32)
else()
  install(TARGETS pidview pidpage RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PIDVIEW_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DATADIR}/pidview/examples)
  set(dist ${PROJECT_SOURCE_DIR}/dist)
  # The desktop's view of the program: its menu entry, which opens a file
  # given to it, the file type of the runs, and the icon in the theme every
  # desktop falls back to. Their databases are refreshed by the triggers of
  # the packages that own them, so the package needs no scripts.
  install(FILES ${dist}/pidview.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${dist}/pidview-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pidview.xml)
  install(FILES ${dist}/icons/pidview.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${dist}/icons/pidview-${size}.png RENAME pidview.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()

  # What software centres read. A screenshot must be a public web address,
  # which the project does not have yet: a build that publishes
  # docs/pidview.png somewhere names it here and the screenshot goes in.
  set(PIDVIEW_SCREENSHOT_URL "" CACHE STRING "Public https address of docs/pidview.png, for the AppStream screenshot")
  set(PIDVIEW_APPSTREAM_ID invalid.pidview.pidview)
  set(PIDVIEW_APPSTREAM_SCREENSHOTS "")
  if(PIDVIEW_SCREENSHOT_URL)
    string(CONCAT PIDVIEW_APPSTREAM_SCREENSHOTS "\n"
        "  <screenshots>\n"
        "    <screenshot type=\"default\">\n"
        "      <caption>The viewer with an example run open</caption>\n"
        "      <caption xml:lang=\"ja\">計測データを開いた画面</caption>\n"
        "      <image>${PIDVIEW_SCREENSHOT_URL}</image>\n"
        "    </screenshot>\n"
        "  </screenshots>")
  endif()
  set(PIDVIEW_METAINFO ${PROJECT_BINARY_DIR}/dist/${PIDVIEW_APPSTREAM_ID}.metainfo.xml)
  configure_file(${dist}/pidview.metainfo.xml.in ${PIDVIEW_METAINFO} @ONLY)
  install(FILES ${PIDVIEW_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The documentation speaks to the user of the installed program; Debian
  # asks for the copyright and changelog in the same folder.
  install(FILES ${dist}/README.user.md DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME README.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/pidview.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
  install(FILES ${dist}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

  # Manual pages and the changelog go in compressed, as Debian's tools do it
  # (-9n: smallest, and no name or time stamp, so the same text gives the
  # same bytes).
  find_program(GZIP gzip REQUIRED)
  set(PIDVIEW_COMPRESSED)
  foreach(text pidview.1 pidpage.1 debian/changelog)
    get_filename_component(name ${text} NAME)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/dist/${name}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/dist
                       COMMAND ${GZIP} -9n -c ${dist}/${text} > ${PROJECT_BINARY_DIR}/dist/${name}.gz
                       DEPENDS ${dist}/${text}
                       VERBATIM)
    list(APPEND PIDVIEW_COMPRESSED ${PROJECT_BINARY_DIR}/dist/${name}.gz)
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${PIDVIEW_COMPRESSED})
  install(FILES ${PROJECT_BINARY_DIR}/dist/pidview.1.gz ${PROJECT_BINARY_DIR}/dist/pidpage.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # A native package (its version has no Debian revision): changelog.gz.
  install(FILES ${PROJECT_BINARY_DIR}/dist/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  # pidview_1.0_amd64.deb
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # The long description; CPack puts the summary line above it.
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
      "pidview opens a .PID file (from its menu, a file manager or the command\n"
      "line) and shows one fixed page: the set parameters and final values as\n"
      "text and the 256 speed samples as a chart against the target speed; it\n"
      "prints that page on the default printer.\n"
      "It lists the step-response figures of the run (rise time, peak,\n"
      "overshoot, settling time, steady-state error, IAE) and copies them for a\n"
      "spreadsheet, compares up to eight runs on one chart, which it prints, and\n"
      "suggests PI and PID settings from a run: a model of one or two lags with\n"
      "dead time fitted to the response under an assumed PID law, with the drive's\n"
      "output limit and a late start where the run shows them, the SIMC tuning\n"
      "rules at a chosen closed-loop speed, and the responses the model predicts\n"
      "for them, with a warning from their peak outputs; its window follows the\n"
      "run on screen and sets the last prediction beside a run made with it. On\n"
      "these charts a cursor reads each curve's speed, the time axis zooms and\n"
      "pans, and the figures can be marked; on the page a click reads a sample.\n"
      "At the bench it can follow the folder of the file on screen and show each\n"
      "run as the controller finishes writing it. It copies the page to the\n"
      "clipboard as a picture and the run's samples as tab-separated text.\n"
      "pidpage draws the same page, the comparison chart or the tuning chart (over\n"
      "any time range, the figures marked) into a PNG file without a display, and\n"
      "lists the figures, the tuning suggestions and the samples of runs as CSV.")
  # The libraries come from the binaries; the page's fonts, Qt's X11 plugin
  # and Qt's own translations are loaded at run time, where dpkg-shlibdeps
  # cannot see them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-unifont, fonts-ipafont-gothic, qt6-qpa-plugins, qt6-translations-l10n")
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
