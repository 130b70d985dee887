# SPDX-License-Identifier: MIT
# Desktop integration files and the Debian packages: tarnix (both programs) and
# tarnix-webpane (the browser pane's web engine module), which tarnix recommends. The
# engine brings Chromium and some 200 MB of libraries that only web lookup needs.
include(GNUInstallDirs)

set(_share ${PROJECT_SOURCE_DIR}/app/share)
# The man page and the AppStream metadata carry the project version.
configure_file(${_share}/tarnix-decode.1.in ${CMAKE_BINARY_DIR}/share/tarnix-decode.1 @ONLY)
configure_file(${_share}/io.github.tarnix.Tarnix.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/share/io.github.tarnix.Tarnix.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/share/tarnix-decode.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARNIX_QT_GUI)
  install(FILES ${_share}/tarnix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_BINARY_DIR}/share/io.github.tarnix.Tarnix.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_share}/icons/tarnix.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 48 256)
    install(FILES ${_share}/icons/tarnix-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tarnix.png)
  endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME tarnix)
set(CPACK_DEBIAN_TARNIX_PACKAGE_NAME tarnix)
set(CPACK_DEBIAN_WEBPANE_PACKAGE_NAME tarnix-webpane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarnix developers")
set(CPACK_PACKAGE_CONTACT "The Tarnix developers <tarnix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Decode what a keyboard-emulating barcode scanner types")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnix catches the scan lines a keyboard-emulating barcode scanner types and decodes each\ninto the scanner serial number, the barcode type and the barcode data. With web lookup\non it opens a tracking or product-code page in a browser pane. tarnix-decode does the\nsame for files and pipes.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARNIX_QT_GUI)
  # The X11 key state and the OpenGL sharing use Qt's private interfaces, which hold only
  # for the Qt release they were built against.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-abi (= ${Qt6_VERSION})")
  # On a Wayland desktop Qt runs natively only with its Wayland plugin.
  set(CPACK_DEBIAN_TARNIX_PACKAGE_RECOMMENDS "tarnix-webpane (= ${PROJECT_VERSION}), qt6-wayland")
  set(CPACK_DEBIAN_WEBPANE_PACKAGE_DEPENDS "tarnix (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_WEBPANE_DESCRIPTION
      "Web lookup for Tarnix\nThe browser pane of Tarnix's window: shows the tracking or product-code page of each\nscan when web lookup is switched on. Without it Tarnix decodes as before.")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
