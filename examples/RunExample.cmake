# Converts one example and compares the result byte for byte.
get_filename_component(name ${CASE_DIR} NAME)
file(READ ${CASE_DIR}/diameter diameter)
string(STRIP "${diameter}" diameter)
set(result ${OUT_DIR}/${name}.min)
execute_process(
  COMMAND ${CONVERTER} --diameter ${diameter} --settings ${CASE_DIR}/settings
          --output ${result} ${CASE_DIR}/source.nc
  RESULT_VARIABLE exit_code
  ERROR_VARIABLE errors)
if(NOT exit_code EQUAL 0)
  message(FATAL_ERROR "torvane-convert failed (${exit_code}): ${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${result} ${CASE_DIR}/expected.min
                RESULT_VARIABLE different)
if(different)
  execute_process(COMMAND diff -u ${CASE_DIR}/expected.min ${result})
  message(FATAL_ERROR "result differs from ${CASE_DIR}/expected.min")
endif()
