# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from an already built tree into a scratch folder and
# checks its control fields and file list, and asks lintian where it exists.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DCPACK=... -DVERSION=... -DAPPSTREAM_ID=...
#         -DCHANGELOG=... -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.21)
find_program(DPKG_DEB dpkg-deb)
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(DPKG dpkg)
find_program(FILE_PROGRAM file)
if(NOT DPKG_DEB OR NOT DPKG_SHLIBDEPS OR NOT DPKG OR NOT FILE_PROGRAM)
  message("SKIPPED: dpkg-deb, dpkg-shlibdeps or file is missing")
  return()
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed:\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${SCRATCH})
run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${SCRATCH})
run(${DPKG} --print-architecture)
string(STRIP "${out}" arch)
set(deb ${SCRATCH}/pelmora_${VERSION}_${arch}.deb)
if(NOT EXISTS ${deb})
  file(GLOB made ${SCRATCH}/*.deb)
  message(FATAL_ERROR "expected ${deb}, cpack made: ${made}")
endif()

set(errors)
macro(fail message)
  list(APPEND errors "${message}")
endmacro()

# Control fields.
foreach(field Package Version Architecture Section Maintainer Depends Recommends Description)
  run(${DPKG_DEB} -f ${deb} ${field})
  string(STRIP "${out}" ${field})
  if("${${field}}" STREQUAL "")
    fail("no ${field} field")
  endif()
endforeach()
if(NOT Package STREQUAL "pelmora" OR NOT Version STREQUAL VERSION OR NOT Architecture STREQUAL arch)
  fail("the package is ${Package} ${Version} ${Architecture}, not pelmora ${VERSION} ${arch}")
endif()
# The fonts are named; the Qt, HarfBuzz and ICU libraries come from the computed
# dependencies.
foreach(dep fonts-ipafont-gothic fonts-ipafont-mincho fonts-noto-cjk libqt6widgets6 libqt6gui6 libqt6printsupport6 libc6
            libharfbuzz0b "libicu[0-9]+")
  if(NOT Depends MATCHES "(^|, )${dep}( |,|$)")
    fail("Depends lacks ${dep}: ${Depends}")
  endif()
endforeach()

# The changelog's newest entry is this version.
file(STRINGS ${CHANGELOG} top LIMIT_COUNT 1)
if(NOT top MATCHES "^pelmora \\(${VERSION}\\) ")
  fail("the changelog starts with: ${top}")
endif()

# Files: everything below /usr, owned by root, programs executable.
run(${DPKG_DEB} -c ${deb})
string(REPLACE "\n" ";" listing "${out}")
set(files)
foreach(line ${listing})
  if(line MATCHES "^([-dlrwxs]+) ([^ ]+) +[0-9]+ [-0-9]+ [:0-9]+ \\./(.*)$")
    set(mode ${CMAKE_MATCH_1})
    set(owner ${CMAKE_MATCH_2})
    set(path /${CMAKE_MATCH_3})
    if(NOT owner STREQUAL "root/root")
      fail("${path} belongs to ${owner}")
    endif()
    if(NOT path MATCHES "^/usr/")
      fail("${path} lies outside /usr")
    endif()
    if(path MATCHES "^/usr/bin/." AND NOT mode STREQUAL "-rwxr-xr-x")
      fail("${path} has mode ${mode}")
    endif()
    list(APPEND files ${path})
  endif()
endforeach()
set(wanted
  /usr/bin/pelmora /usr/bin/pmrtool
  /usr/share/pelmora/cardfmt/a4-8up-wide.cf /usr/share/pelmora/help/index.html
  /usr/share/applications/pelmora.desktop /usr/share/mime/packages/pelmora.xml /usr/share/file/pelmora
  /usr/share/metainfo/${APPSTREAM_ID}.metainfo.xml
  /usr/share/icons/hicolor/scalable/apps/pelmora.svg
  /usr/share/man/man1/pelmora.1.gz /usr/share/man/man1/pmrtool.1.gz
  /usr/share/bash-completion/completions/pmrtool
  /usr/share/doc/pelmora/copyright /usr/share/doc/pelmora/changelog.gz)
foreach(size 16 32 48 128 256)
  list(APPEND wanted /usr/share/icons/hicolor/${size}x${size}/apps/pelmora.png
                     /usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-pelmora-card.png)
endforeach()
foreach(path ${wanted})
  if(NOT path IN_LIST files)
    fail("the package lacks ${path}")
  endif()
endforeach()
list(FILTER files INCLUDE REGEX "^/usr/share/pelmora/sample/.*\\.pmr$")
list(LENGTH files samples)
if(samples EQUAL 0)
  fail("the package holds no sample cards")
endif()

if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "${deb}:\n  ${text}")
endif()

find_program(LINTIAN lintian)
if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --fail-on error ${deb} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lintian:\n${out}${err}")
  endif()
  message("lintian: ${out}")
else()
  message("lintian is missing: not asked")
endif()
