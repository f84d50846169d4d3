# SPDX-License-Identifier: GPL-3.0-or-later
# Converts one example and compares the result byte for byte; a refused
# program must fail with exit code 1 and leave no result behind. When the
# case holds expected.err, standard error must match it too.
get_filename_component(name ${CASE_DIR} NAME)
file(READ ${CASE_DIR}/diameter diameter)
string(STRIP "${diameter}" diameter)
set(result ${OUT_DIR}/${name}.min)
file(REMOVE ${result})
execute_process(
  COMMAND ${CONVERTER} --diameter ${diameter} --settings ${CASE_DIR}/settings
          --output ${result} ${CASE_DIR}/source.nc
  RESULT_VARIABLE exit_code
  ERROR_VARIABLE errors)
if(EXISTS ${CASE_DIR}/expected.err)
  file(READ ${CASE_DIR}/expected.err expected_errors)
  if(NOT errors STREQUAL expected_errors)
    message(FATAL_ERROR "standard error differs from ${CASE_DIR}/expected.err:\n${errors}")
  endif()
endif()
if(NOT EXISTS ${CASE_DIR}/expected.min)
  if(NOT exit_code EQUAL 1)
    message(FATAL_ERROR "torvane-convert should refuse the program, exit code ${exit_code}")
  endif()
  if(EXISTS ${result})
    message(FATAL_ERROR "a refused program left ${result} behind")
  endif()
  return()
endif()
if(NOT exit_code EQUAL 0)
  message(FATAL_ERROR "torvane-convert failed (${exit_code}): ${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${result} ${CASE_DIR}/expected.min
                RESULT_VARIABLE different)
if(different)
  execute_process(COMMAND diff -u ${CASE_DIR}/expected.min ${result})
  message(FATAL_ERROR "result differs from ${CASE_DIR}/expected.min")
endif()
