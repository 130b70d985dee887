# SPDX-License-Identifier: MIT
# Desktop integration files and the Debian packages: tarnix (both programs) and
# tarnix-webpane (the browser pane's web engine module), which tarnix recommends. The
# engine brings Chromium and some 200 MB of libraries that only web lookup needs.
# scripts/package-check runs lintian on both packages and accepts no error or warning.
include(GNUInstallDirs)

set(_share ${PROJECT_SOURCE_DIR}/app/share)
set(_gen ${CMAKE_BINARY_DIR}/share)
# The man pages and the AppStream metadata carry the project version.
configure_file(${_share}/io.github.tarnix.Tarnix.metainfo.xml.in
               ${_gen}/io.github.tarnix.Tarnix.metainfo.xml @ONLY)
set(_man_pages tarnix-decode)
if(TARNIX_QT_GUI)
  list(APPEND _man_pages tarnix)
endif()

# Debian's documentation files. The changelog is a single entry for the version
# being packaged, dated by the last commit (outside a git checkout: when configured).
execute_process(COMMAND git log -1 --format=%cD WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                OUTPUT_VARIABLE _changelog_date OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET RESULT_VARIABLE _git_result)
if(NOT _git_result EQUAL 0 OR NOT _changelog_date)
  string(TIMESTAMP _changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
file(CONFIGURE OUTPUT ${_gen}/changelog @ONLY CONTENT
"tarnix (@PROJECT_VERSION@) unstable; urgency=medium

  * Tarnix @PROJECT_VERSION@, built from its own sources.

 -- The Tarnix developers <tarnix@example.org>  @_changelog_date@
")
# The copyright file in Debian's machine-readable format, made from LICENSE: the
# copyright line and the licence text after it, indented, a blank line written as " .".
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _license)
if(NOT _license MATCHES "^MIT License\n\nCopyright \\(c\\) ([^\n]+)\n\n(.+)$")
  message(FATAL_ERROR "LICENSE does not start with \"MIT License\" and a copyright line")
endif()
set(_copyright_holder "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" _license_text)
string(REPLACE "\n" "\n " _license_text " ${_license_text}")
string(REPLACE "\n \n" "\n .\n" _license_text "${_license_text}")
file(CONFIGURE OUTPUT ${_gen}/copyright @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tarnix
Upstream-Contact: The Tarnix developers <tarnix@example.org>

Files: *
Copyright: @_copyright_holder@
License: MIT
@_license_text@
")

# Man pages and changelogs go in compressed, as Debian has them: gzip -9n, without the
# file's name and time, so that the same input gives the same bytes.
find_program(TARNIX_GZIP gzip REQUIRED)
set(_compressed)
foreach(_file IN LISTS _man_pages ITEMS changelog)
  if(_file STREQUAL "changelog")
    set(_plain ${_gen}/changelog)
  else()
    configure_file(${_share}/${_file}.1.in ${_gen}/${_file}.1 @ONLY)
    set(_plain ${_gen}/${_file}.1)
  endif()
  add_custom_command(OUTPUT ${_plain}.gz
                     COMMAND ${TARNIX_GZIP} -9nkf ${_plain}
                     DEPENDS ${_plain}
                     COMMENT "Compressing ${_file}" VERBATIM)
  list(APPEND _compressed ${_plain}.gz)
endforeach()
add_custom_target(tarnix-compressed-docs ALL DEPENDS ${_compressed})

foreach(_page IN LISTS _man_pages)
  install(FILES ${_gen}/${_page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${_gen}/copyright ${_gen}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnix)
if(TARGET tarnix-webpane)
  install(FILES ${_gen}/copyright ${_gen}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnix-webpane COMPONENT webpane)
endif()
if(TARNIX_QT_GUI)
  install(FILES ${_share}/tarnix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # Gives the person at the seat access to barcode scanners alone, so that Tarnix can
  # read them past the desktop. Where Debian 12's udev and lintian look for rules.
  install(FILES ${_share}/70-tarnix-barcode-scanner.rules DESTINATION /lib/udev/rules.d)
  install(FILES ${_share}/tarnix.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME tarnix)
  install(FILES ${_gen}/io.github.tarnix.Tarnix.metainfo.xml
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
set(CPACK_DEBIAN_PACKAGE_SOURCE tarnix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarnix developers")
set(CPACK_PACKAGE_CONTACT "The Tarnix developers <tarnix@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Each package's description: its own summary line, then the extended description in
# lines of at most 79 characters, as lintian wants. CPack would put the common
# CPACK_PACKAGE_DESCRIPTION_SUMMARY in front of both; the file written here for cpack
# to read stops that.
set(_cpack_project_config "# Written by cmake/Packaging.cmake and read by cpack.
# CPack leaves a package description alone when the summary is its default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY \"\${CPACK_DEFAULT_PACKAGE_DESCRIPTION_SUMMARY}\")
")
if(TARNIX_QT_GUI)
  # The X11 key state and the OpenGL sharing use Qt's private interfaces, which hold only
  # for the Qt release they were built against.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-abi (= ${Qt6_VERSION})")
  # On a Wayland desktop Qt runs natively only with its Wayland plugin.
  set(CPACK_DEBIAN_TARNIX_PACKAGE_RECOMMENDS "tarnix-webpane (= ${PROJECT_VERSION}), qt6-wayland")
  set(CPACK_DEBIAN_TARNIX_DESCRIPTION
      "Decode what a keyboard-emulating barcode scanner types
Tarnix catches the scan lines a keyboard-emulating barcode scanner types into
its window and decodes each into the scanner's serial number, the barcode type
and the barcode data. With web lookup on, it opens a tracking or product-code
page in a browser pane, which the package tarnix-webpane provides.
.
tarnix-decode does the same decoding for scan lines in files and pipes.")
  set(CPACK_DEBIAN_WEBPANE_DESCRIPTION
      "Web lookup for Tarnix, the barcode scanner decoder
The browser pane of Tarnix's window: with web lookup switched on, it shows the
parcel tracking or product-code page of each scan. It brings the Qt web engine
(Chromium). Without this package Tarnix decodes as before.")
else()
  set(CPACK_DEBIAN_TARNIX_DESCRIPTION
      "Decode what a keyboard-emulating barcode scanner types
tarnix-decode decodes the scan lines a keyboard-emulating barcode scanner types,
read from files and pipes, into the scanner's serial number, the barcode type
and the barcode data.")
endif()
if(TARGET tarnix-webpane)
  # tarnix-webpane's library dependencies come from dpkg-shlibdeps run here at packaging
  # time, not from CPack's own run: finding a shared object under usr/lib, CPack would
  # also add maintainer scripts calling ldconfig, which a module loaded by path from a
  # private directory does not need.
  set(CPACK_DEBIAN_WEBPANE_PACKAGE_SHLIBDEPS OFF)
  set(_shlibdeps_dir ${CMAKE_BINARY_DIR}/webpane-shlibdeps)
  file(WRITE ${_shlibdeps_dir}/debian/control "")
  find_program(TARNIX_DPKG_SHLIBDEPS dpkg-shlibdeps)
  string(APPEND _cpack_project_config "
execute_process(COMMAND \"${TARNIX_DPKG_SHLIBDEPS}\" --ignore-missing-info -O \"$<TARGET_FILE:tarnix-webpane>\"
                WORKING_DIRECTORY \"${_shlibdeps_dir}\"
                RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _error)
if(NOT _result EQUAL 0 OR NOT _output MATCHES \"shlibs:Depends=([^\\n]+)\")
  message(FATAL_ERROR \"dpkg-shlibdeps found no dependencies of the web pane module (\${_result}): \${_error}\")
endif()
set(CPACK_DEBIAN_WEBPANE_PACKAGE_DEPENDS \"tarnix (= ${PROJECT_VERSION}), \${CMAKE_MATCH_1}\")
")
endif()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake CONTENT "${_cpack_project_config}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
