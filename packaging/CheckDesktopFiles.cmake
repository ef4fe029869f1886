# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the desktop entry and the AppStream data with the freedesktop tools.
#   cmake -DDESKTOP=... -DMETAINFO=... -P CheckDesktopFiles.cmake
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
  message("SKIPPED: desktop-file-validate or appstreamcli is missing")
  return()
endif()

# desktop-file-validate exits 0 on warnings too, so any report counts.
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${DESKTOP} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate ${DESKTOP}:\n${out}${err}")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${METAINFO}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate ${METAINFO}:\n${out}${err}")
endif()
