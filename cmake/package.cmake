# The release package: Vantrel-<version>-win32.zip with both programs, the
# README and the licence. `cmake --build build/windows --target package`.

install(TARGETS Vantrel Brennic RUNTIME DESTINATION .)

# Plain text with Windows line ends, so Notepad on Windows 7 shows it right.
# A small script turns them at build time, so an edited README is picked up
# without configuring again.
set(package_text_dir ${CMAKE_BINARY_DIR}/package-text)
add_custom_command(
  OUTPUT ${package_text_dir}/README.txt ${package_text_dir}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -D in=${PROJECT_SOURCE_DIR}/README.md -D out=${package_text_dir}/README.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake
  COMMAND ${CMAKE_COMMAND} -D in=${PROJECT_SOURCE_DIR}/LICENSE -D out=${package_text_dir}/LICENSE.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake
  VERBATIM)
add_custom_target(package_text ALL DEPENDS ${package_text_dir}/README.txt ${package_text_dir}/LICENSE.txt)
install(FILES ${package_text_dir}/README.txt ${package_text_dir}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vantrel)
set(CPACK_PACKAGE_VENDOR "the Vantrel developers")
set(CPACK_PACKAGE_FILE_NAME Vantrel-${PROJECT_VERSION}-win32)
# Unpacks into a folder of its own rather than over whatever is beside it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Every entry of the zip carries the release time (tools/release_files.py),
# which CPack takes from SOURCE_DATE_EPOCH: the same commit makes the same
# zip.
set(CPACK_VANTREL_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_VANTREL_PYTHON ${Python3_EXECUTABLE})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/package_time.cmake)
include(CPack)
