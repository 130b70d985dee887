# Installing the window program on Windows together with the Qt it needs.
#
#   tarnix_install_qt_runtime(<target>)
#
# Adds a step to "cmake --install" that runs Qt's windeployqt on the installed
# executable (through qt_generate_deploy_app_script, Qt 6.3 or later): Qt's DLLs, the
# plugins (platforms/qwindows.dll, styles, image formats) and, for the browser pane,
# QtWebEngineProcess.exe with its resources are copied beside it, so the install folder
# runs on a machine without Qt. Call after find_package(Qt6) and install(TARGETS). On
# other platforms nothing is added: there the system provides Qt.
function(tarnix_install_qt_runtime target)
  if(NOT WIN32)
    return()
  endif()
  qt_generate_deploy_app_script(TARGET ${target} FILENAME_VARIABLE deploy_script)
  install(SCRIPT ${deploy_script})
endfunction()
