# SPDX-License-Identifier: MIT
# Windows resources of the executables.
#
#   tarnix_add_version_resource(<target> [DESCRIPTION <text>] [ICON <file.ico>])
#
# Embeds a VERSIONINFO resource made from the project version: FILEVERSION and
# PRODUCTVERSION major,minor,patch,tweak (1,0,0,13) and the texts "FileVersion" and
# "ProductVersion" written major.minor.revision with two and four digits (1.00.0013),
# the form Windows' file properties show. Also embeds the program icon, tarnix.ico
# beside this file unless ICON names another, as icon resource 1, the one Explorer and
# the window's title bar show. On other platforms the call does nothing, so targets can
# call it unconditionally.
#
# tarnix.ico holds app/share/icons/tarnix.svg drawn at 16, 24, 32, 48, 64 and 256
# pixels (rsvg-convert), each stored as PNG, which Windows reads since Vista.

set(TARNIX_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/tarnix.rc.in)
set(TARNIX_RC_DEFAULT_ICON ${CMAKE_CURRENT_LIST_DIR}/tarnix.ico)

# value written with at least width digits, leading zeros added.
function(tarnix_zero_pad value width out)
  string(LENGTH "${value}" length)
  while(length LESS width)
    string(PREPEND value "0")
    math(EXPR length "${length} + 1")
  endwhile()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(tarnix_add_version_resource target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "DESCRIPTION;ICON" "")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tarnix_add_version_resource: unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()

  # The top-level project's version, whatever project() a subdirectory declared.
  set(numbers)
  foreach(part MAJOR MINOR PATCH TWEAK)
    set(number "${CMAKE_PROJECT_VERSION_${part}}")
    if(number STREQUAL "")
      set(number 0)
    endif()
    list(APPEND numbers ${number})
  endforeach()
  list(GET numbers 0 major)
  list(GET numbers 1 minor)
  list(GET numbers 3 revision)
  tarnix_zero_pad(${minor} 2 minor_text)
  tarnix_zero_pad(${revision} 4 revision_text)

  set(TARNIX_RC_TARGET ${target})
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(TARNIX_RC_FILENAME "${output_name}.exe")
  list(JOIN numbers "," TARNIX_RC_VERSION_NUMBERS)
  set(TARNIX_RC_VERSION_TEXT "${major}.${minor_text}.${revision_text}")
  if(ARG_DESCRIPTION)
    set(TARNIX_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  else()
    set(TARNIX_RC_DESCRIPTION "${CMAKE_PROJECT_DESCRIPTION}")
  endif()
  string(REPLACE "\"" "\"\"" TARNIX_RC_DESCRIPTION "${TARNIX_RC_DESCRIPTION}") # as .rc escapes quotes
  if(NOT ARG_ICON)
    set(ARG_ICON ${TARNIX_RC_DEFAULT_ICON})
  endif()
  get_filename_component(TARNIX_RC_ICON_FILE "${ARG_ICON}" ABSOLUTE)

  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_resource.rc)
  configure_file(${TARNIX_RC_TEMPLATE} ${rc_file} @ONLY)
  target_sources(${target} PRIVATE ${rc_file})
  set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS "${TARNIX_RC_ICON_FILE}")
endfunction()
