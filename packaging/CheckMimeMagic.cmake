# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that .pmr documents are known by their content: the libmagic rule with
# file(1), and the shared-mime-info type with update-mime-database and gio.
#   cmake -DMAGIC=... -DMIME_XML=... -DSAMPLES=<folder of .pmr> -DTEXT=<a text file>
#         -DPNG=<a PNG file> -DSCRATCH=... [-DPMRTOOL=...] -P CheckMimeMagic.cmake
cmake_minimum_required(VERSION 3.21)
set(type application/x-pelmora-card)
set(errors)
macro(fail message)
  list(APPEND errors "${message}")
endmacro()

file(GLOB samples ${SAMPLES}/*.pmr)
if(NOT samples)
  message(FATAL_ERROR "no sample cards in ${SAMPLES}")
endif()
# A card under another name is still a card; the content alone decides.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
list(GET samples 0 first)
file(COPY_FILE ${first} ${SCRATCH}/card.bin)
set(strangers ${TEXT} ${PNG})
# A card without items, written by pmrtool: its few bytes prove nothing, so
# neither rule may claim it.
if(PMRTOOL)
  file(WRITE ${SCRATCH}/empty.json "{}")
  execute_process(COMMAND ${PMRTOOL} build ${SCRATCH}/empty.json -o ${SCRATCH}/empty.bin
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pmrtool build of an empty card failed: ${out}${err}")
  endif()
  list(APPEND strangers ${SCRATCH}/empty.bin)
endif()

# What a tool called a file: the type for our documents, anything else for the strangers.
macro(check_verdict tool_ file_ found_)
  if("${file_}" IN_LIST strangers AND "${found_}" STREQUAL "${type}")
    fail("${tool_} calls ${file_} ${type}")
  elseif(NOT "${file_}" IN_LIST strangers AND NOT "${found_}" STREQUAL "${type}")
    fail("${tool_} calls ${file_} ${found_}, not ${type}")
  endif()
endmacro()

find_program(FILE_PROGRAM file)
if(FILE_PROGRAM)
  foreach(path ${samples} ${SCRATCH}/card.bin ${strangers})
    execute_process(COMMAND ${FILE_PROGRAM} --brief --mime-type -m ${MAGIC} ${path}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
      fail("file -m ${MAGIC} ${path} failed: ${out}${err}")
    else()
      check_verdict(file ${path} "${out}")
    endif()
  endforeach()
else()
  message("file is missing: the libmagic rule is not checked")
endif()

find_program(XMLLINT xmllint)
if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout ${MIME_XML} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("xmllint ${MIME_XML}:\n${err}")
  endif()
endif()

# The MIME database of a private data folder: the system's types, if any, and ours.
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
  set(data ${SCRATCH}/data)
  file(MAKE_DIRECTORY ${data}/mime/packages ${SCRATCH}/home)
  if(EXISTS /usr/share/mime/packages/freedesktop.org.xml)
    file(COPY_FILE /usr/share/mime/packages/freedesktop.org.xml ${data}/mime/packages/freedesktop.org.xml)
  endif()
  file(COPY_FILE ${MIME_XML} ${data}/mime/packages/pelmora.xml)
  # With the folder in the search path it has nothing to say unless the rules are wrong.
  set(env ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${SCRATCH}/home XDG_DATA_DIRS=${data})
  execute_process(COMMAND ${env} ${UPDATE_MIME_DATABASE} ${data}/mime
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    fail("update-mime-database with ${MIME_XML}:\n${out}${err}")
  endif()
  find_program(GIO gio)
  if(GIO AND rc EQUAL 0)
    foreach(path ${SCRATCH}/card.bin ${first} ${strangers})
      execute_process(COMMAND ${env} ${GIO} info -a standard::content-type ${path}
                      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
      string(REGEX MATCH "standard::content-type: ([^\n]*)" found "${out}")
      set(found "${CMAKE_MATCH_1}")
      if(NOT rc EQUAL 0)
        fail("gio info ${path} failed: ${out}${err}")
      else()
        check_verdict(gio ${path} "${found}")
      endif()
    endforeach()
  else()
    message("gio is missing: the shared-mime-info rule is only compiled, not asked")
  endif()
else()
  message("update-mime-database is missing: the shared-mime-info rule is not checked")
endif()

if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "${text}")
endif()
