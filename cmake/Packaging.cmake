# Desktop integration files and the Debian package.
include(GNUInstallDirs)

set(_share ${PROJECT_SOURCE_DIR}/app/share)
install(FILES ${_share}/tarnix-decode.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARNIX_BUILD_GUI)
  install(FILES ${_share}/tarnix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_share}/io.github.tarnix.Tarnix.metainfo.xml
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
set(CPACK_PACKAGE_NAME tarnix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarnix developers")
set(CPACK_PACKAGE_CONTACT "The Tarnix developers <tarnix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Decode what a keyboard-emulating barcode scanner types")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnix catches the scan lines a keyboard-emulating barcode scanner types and decodes each\ninto the scanner serial number, the barcode type and the barcode data. With web lookup\non it opens a tracking or product-code page in a browser pane. tarnix-decode does the\nsame for files and pipes.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARNIX_BUILD_GUI)
  # The X11 key state hands Qt's xcb connection the time of an Alt press through Qt's
  # private interface, which holds only for the Qt release it was built against.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-abi (= ${Qt6_VERSION})")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
