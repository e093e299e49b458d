# Read by cpack before it writes the zip: dates every entry with the release
# time, unless SOURCE_DATE_EPOCH already says which.
execute_process(
  COMMAND ${CPACK_VANTREL_PYTHON} ${CPACK_VANTREL_SOURCE_DIR}/tools/release_files.py epoch ${CPACK_VANTREL_SOURCE_DIR}
  OUTPUT_VARIABLE release_time OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
set(ENV{SOURCE_DATE_EPOCH} ${release_time})
