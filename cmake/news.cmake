# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
#
# NEWS.md is the one list of releases. Read at configure time, it gives
#   TALLYHAWK_RELEASES_XML    the AppStream <release> elements, newest first;
#   ${CMAKE_BINARY_DIR}/changelog.gz, the Debian package's changelog;
# and the configure step stops when the newest release is not the project's version, so that
# the programs, the metadata and the package never disagree about it.
#
# The file's form: "## VERSION (YYYY-MM-DD)" opens a release, "- " opens an item and a line
# indented by two spaces continues it. The Debian changelog keeps the lines as they are
# written, so they stay within its width.

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/NEWS.md)
file(STRINGS ${CMAKE_SOURCE_DIR}/NEWS.md tallyhawk_news_lines ENCODING UTF-8)

# The day of the week of a date, in the English abbreviation RFC 5322 dates use (Sakamoto's method).
function(tallyhawk_weekday year month day out)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${weekday} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()

function(tallyhawk_escape_xml text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "`" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(tallyhawk_releases_xml "")
set(tallyhawk_changelog "")
set(tallyhawk_release "")
set(tallyhawk_newest_release "")
set(tallyhawk_item "")
set(tallyhawk_items_xml "")
set(tallyhawk_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

# Closes the item and the release being read, adding them to both outputs.
macro(tallyhawk_close_item)
  if(NOT tallyhawk_item STREQUAL "")
    tallyhawk_escape_xml("${tallyhawk_item}" escaped)
    string(APPEND tallyhawk_items_xml "          <li>${escaped}</li>\n")
    set(tallyhawk_item "")
  endif()
endmacro()
macro(tallyhawk_close_release)
  tallyhawk_close_item()
  if(NOT tallyhawk_release STREQUAL "")
    if(tallyhawk_items_xml STREQUAL "")
      message(FATAL_ERROR "NEWS.md: release ${tallyhawk_release} lists nothing")
    endif()
    string(APPEND tallyhawk_releases_xml
      "    <release version=\"${tallyhawk_release}\" date=\"${tallyhawk_date}\">\n"
      "      <description>\n        <ul>\n${tallyhawk_items_xml}        </ul>\n      </description>\n"
      "    </release>\n")
    string(APPEND tallyhawk_changelog
      "\n -- ${TALLYHAWK_MAINTAINER}  ${tallyhawk_rfc_date}\n")
    set(tallyhawk_items_xml "")
  endif()
endmacro()

foreach(line IN LISTS tallyhawk_news_lines)
  if(line MATCHES "^## ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
    tallyhawk_close_release()
    set(tallyhawk_release ${CMAKE_MATCH_1})
    set(tallyhawk_date "${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4}")
    math(EXPR month "${CMAKE_MATCH_3}")
    math(EXPR day "${CMAKE_MATCH_4}")
    if(month LESS 1 OR month GREATER 12 OR day LESS 1 OR day GREATER 31)
      message(FATAL_ERROR "NEWS.md: release ${tallyhawk_release} has no valid date: ${line}")
    endif()
    tallyhawk_weekday(${CMAKE_MATCH_2} ${month} ${day} weekday)
    math(EXPR index "${month} - 1")
    list(GET tallyhawk_months ${index} month_name)
    set(tallyhawk_rfc_date "${weekday}, ${CMAKE_MATCH_4} ${month_name} ${CMAKE_MATCH_2} 00:00:00 +0000")
    if(tallyhawk_newest_release STREQUAL "")
      set(tallyhawk_newest_release ${tallyhawk_release})
    else()
      string(APPEND tallyhawk_changelog "\n")
    endif()
    string(APPEND tallyhawk_changelog "tallyhawk (${tallyhawk_release}) unstable; urgency=medium\n\n")
  elseif(line MATCHES "^## ")
    message(FATAL_ERROR "NEWS.md: a release heading is \"## VERSION (YYYY-MM-DD)\", not: ${line}")
  elseif(NOT tallyhawk_release STREQUAL "" AND line MATCHES "^- (.*)$")
    tallyhawk_close_item()
    set(tallyhawk_item "${CMAKE_MATCH_1}")
    string(APPEND tallyhawk_changelog "  * ${CMAKE_MATCH_1}\n")
  elseif(NOT tallyhawk_item STREQUAL "" AND line MATCHES "^  +(.*)$")
    string(APPEND tallyhawk_item " ${CMAKE_MATCH_1}")
    string(APPEND tallyhawk_changelog "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
tallyhawk_close_release()

if(NOT tallyhawk_newest_release STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "NEWS.md's newest release is \"${tallyhawk_newest_release}\", "
    "but the project's version is ${PROJECT_VERSION}: add the release to NEWS.md.")
endif()
string(STRIP "${tallyhawk_releases_xml}" TALLYHAWK_RELEASES_XML)

# Compressed without a name or a time, so that every build gives the same bytes.
file(WRITE ${CMAKE_BINARY_DIR}/changelog "${tallyhawk_changelog}")
execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/changelog RESULT_VARIABLE tallyhawk_gzip_status)
if(NOT tallyhawk_gzip_status EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${CMAKE_BINARY_DIR}/changelog")
endif()
