# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPROGRAM=... -DHELP2MAN=... -DINCLUDE=... -DOUTPUT=<page.1> -P make_man_page.cmake
# Writes <page.1>.gz: help2man's page from the program's --help and
# --version, compressed without a time stamp so builds are reproducible.
get_filename_component(name "${PROGRAM}" NAME)
set(include_file "${INCLUDE}")
# tesmera-cli's subcommands each have their own --help: they join the page.
if(name STREQUAL "tesmera-cli")
  file(READ "${INCLUDE}" text)
  string(APPEND text "\n[SUBCOMMANDS]\n")
  foreach(command analyze agreement extract render)
    execute_process(COMMAND "${PROGRAM}" ${command} --help
      OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${name} ${command} --help failed (${status})")
    endif()
    # The usage line names the program as it was started: here its build path.
    string(REPLACE "${PROGRAM}" "${name}" help "${help}")
    string(REPLACE "\\" "\\e" help "${help}")
    string(APPEND text ".TP\n.B ${command}\n.nf\n${help}\n.fi\n")
  endforeach()
  set(include_file "${OUTPUT}.h2m")
  file(WRITE "${include_file}" "${text}")
endif()
execute_process(COMMAND "${HELP2MAN}" --no-info --no-discard-stderr
    --include "${include_file}" --output "${OUTPUT}" "${PROGRAM}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${name} (${status})")
endif()
execute_process(COMMAND gzip -9nf "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${OUTPUT} (${status})")
endif()
