# Run by cpack once the zip is made, before it copies the zip into the
# package folder: unpacks it there, as a player does beside a download, and
# writes SHA256SUMS there, the zip's own line first, so that
# `sha256sum -c SHA256SUMS` in the package folder checks everything.
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(unpacked ${zip} NAME_WLE)
  file(REMOVE_RECURSE ${CPACK_PACKAGE_DIRECTORY}/${unpacked})
  file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${CPACK_PACKAGE_DIRECTORY})
  execute_process(
    COMMAND ${CPACK_VANTREL_PYTHON} ${CPACK_VANTREL_SOURCE_DIR}/tools/release_files.py
            sums ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS ${zip}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
