# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when PROGRAM loads Qt Widgets or Qt PrintSupport: the command-line tool
# runs on the headless core only.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libs RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
if(libs MATCHES "libQt6(Widgets|PrintSupport)")
  message(FATAL_ERROR "${PROGRAM} loads ${CMAKE_MATCH_0}:\n${libs}")
endif()
if(NOT libs MATCHES "libQt6Gui")
  message(FATAL_ERROR "ldd shows no Qt at all for ${PROGRAM}:\n${libs}")
endif()
