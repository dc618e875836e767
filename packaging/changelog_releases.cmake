# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the Debian changelog, the one record of what each release brought,
# so the AppStream release notes and the man pages' dates never disagree
# with it.

# The English month abbreviations of a Debian changelog date, in order.
set(TESMERA_CHANGELOG_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

# tesmera_changelog_date(<trailer line> <out>): " -- Name <mail>  Mon, 07 Dec
# 2026 12:00:00 +0000" gives "2026-12-07".
function(tesmera_changelog_date trailer out)
  if(NOT trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "packaging/changelog: no date in \"${trailer}\"")
  endif()
  set(day ${CMAKE_MATCH_1})
  set(year ${CMAKE_MATCH_3})
  list(FIND TESMERA_CHANGELOG_MONTHS ${CMAKE_MATCH_2} month)
  if(month LESS 0)
    message(FATAL_ERROR "packaging/changelog: unknown month in \"${trailer}\"")
  endif()
  math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
  if(month LESS 10)
    set(month "0${month}")
  endif()
  set(${out} "${year}-${month}-${day}" PARENT_SCOPE)
endfunction()

# tesmera_xml_text(<text> <out>): the text with XML's special characters
# escaped.
function(tesmera_xml_text text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# tesmera_release_item(<items var> <item>): appends one bullet, when there is
# one, to the list items of a release.
function(tesmera_release_item items_var item)
  if(NOT item STREQUAL "")
    tesmera_xml_text("${item}" item)
    set(${items_var} "${${items_var}}          <li>${item}</li>\n" PARENT_SCOPE)
  endif()
endfunction()

# tesmera_read_changelog(<file> <out date> <out releases>): the date of the
# newest entry (YYYY-MM-DD) and every entry as an AppStream <release>
# element, newest first, its bullets as the release's list.
function(tesmera_read_changelog file out_date out_releases)
  # (A line holding a semicolon would be split: CMake lists are joined by it.)
  file(STRINGS "${file}" lines)
  set(releases "")
  set(items "")
  set(item "")
  set(newest_date "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^tesmera \\(([^)]+)\\) ")
      set(version "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  \\* (.*)$")
      tesmera_release_item(items "${item}")
      set(item "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^    +(.*)$")
      string(APPEND item " ${CMAKE_MATCH_1}")
    elseif(line MATCHES "^ -- ")
      tesmera_release_item(items "${item}")
      tesmera_changelog_date("${line}" date)
      if(newest_date STREQUAL "")
        set(newest_date "${date}")
      endif()
      string(APPEND releases "    <release version=\"${version}\" date=\"${date}\">\n"
        "      <description>\n        <ul>\n${items}        </ul>\n"
        "      </description>\n    </release>\n")
      set(items "")
      set(item "")
    endif()
  endforeach()
  if(newest_date STREQUAL "")
    message(FATAL_ERROR "${file} holds no complete entry")
  endif()
  set(${out_date} "${newest_date}" PARENT_SCOPE)
  set(${out_releases} "${releases}" PARENT_SCOPE)
endfunction()
