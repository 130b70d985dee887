# SPDX-License-Identifier: MIT
# The native Windows window program: tarnix.exe, Form1's behaviour (mainwindow/) on the
# Win32 window (platform/win32/), without Qt. Included by app/ on Windows.
#
# tarnix_add_win32_manifest(<target>) embeds platform/win32/tarnix.manifest.in: system-DPI
# awareness (the layout is computed in real pixels from twips) and Common Controls 6.

# The manifest names the program with the project version.
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/tarnix.manifest.in ${PROJECT_BINARY_DIR}/tarnix.manifest @ONLY)
set(TARNIX_WIN32_MANIFEST ${PROJECT_BINARY_DIR}/tarnix.manifest)

function(tarnix_add_win32_manifest target)
  set(manifest "${TARNIX_WIN32_MANIFEST}")
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  # 1 and 24: CREATEPROCESS_MANIFEST_RESOURCE_ID and RT_MANIFEST, the manifest Windows
  # reads when it starts the program.
  file(CONFIGURE OUTPUT ${rc_file} CONTENT "1 24 \"${manifest}\"\n")
  target_sources(${target} PRIVATE ${rc_file})
  set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS "${manifest}")
endfunction()

add_executable(tarnix WIN32 ${PROJECT_SOURCE_DIR}/app/main_win.cpp)
target_link_libraries(tarnix PRIVATE tarnix_form1 tarnix_win32_gui)
tarnix_add_version_resource(tarnix DESCRIPTION "Tarnix")
tarnix_add_win32_manifest(tarnix)
install(TARGETS tarnix RUNTIME DESTINATION bin)
