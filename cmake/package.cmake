# The release package: Vantrel-<version>-win32.zip with both programs, the
# README, the licence and SHA256SUMS. `cmake --build build/windows --target
# package`. Beside it in package/: the setup, the zip unpacked, and
# SHA256SUMS again, with the zip's own line.

set(zip_folder Vantrel-${PROJECT_VERSION}-win32)
# As the setup carries them (cmake/release_files.cmake): dated, and signed
# when a key is given.
set(zip_programs ${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:Vantrel> ${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:Brennic>)
install(PROGRAMS ${zip_programs} DESTINATION .)

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

# The hashes a player checks a download with, in the format `sha256sum -c`
# reads, the paths as in the download folder with the zip unpacked there.
# The zip's copy lacks the zip's own line, which no file can hold about
# the zip that holds it; cmake/package_sums.cmake writes the copy beside it.
set(zip_sums ${CMAKE_BINARY_DIR}/package-sums/SHA256SUMS)
set(zip_sums_setup -)
if(SETUP_PROGRAM)
  set(zip_sums_setup ${SETUP_PROGRAM})
endif()
add_custom_command(
  OUTPUT ${zip_sums}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package-sums
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/release_files.py sums ${zip_sums} ${zip_folder}
          ${zip_sums_setup} ${zip_programs}
  DEPENDS ${RELEASE_FILES_STAMP} ${SETUP_PROGRAM} ${PROJECT_SOURCE_DIR}/tools/release_files.py
  VERBATIM)
add_custom_target(package_sums ALL DEPENDS ${zip_sums})
add_dependencies(package_sums shipped_programs)
if(TARGET setup)
  add_dependencies(package_sums setup)
endif()
install(FILES ${zip_sums} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vantrel)
set(CPACK_PACKAGE_VENDOR "the Vantrel developers")
set(CPACK_PACKAGE_FILE_NAME ${zip_folder})
# Unpacks into a folder of its own rather than over whatever is beside it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Every entry of the zip carries the release time (tools/release_files.py),
# which CPack takes from SOURCE_DATE_EPOCH: the same commit makes the same
# zip.
set(CPACK_VANTREL_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_VANTREL_PYTHON ${Python3_EXECUTABLE})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/package_time.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_sums.cmake)
include(CPack)
