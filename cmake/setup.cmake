# The setup program, Vantrel-<version>-setup.exe (-x64-setup.exe from a
# 64-bit build), made with NSIS for the width of this build. Part of the
# default build when makensis is installed; without it the rest still builds.

find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(STATUS "makensis not found: the setup program is not built")
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(setup_target amd64-unicode)
  set(setup_suffix -x64)
else()
  set(setup_target x86-unicode)
  set(setup_suffix "")
endif()
set(setup_dir ${CMAKE_BINARY_DIR}/package)
set(SETUP_PROGRAM ${setup_dir}/Vantrel-${PROJECT_VERSION}${setup_suffix}-setup.exe
    CACHE INTERNAL "The setup program this build makes")
set(setup_script ${PROJECT_SOURCE_DIR}/setup/win32/vantrel.nsi)

set(setup_icon ${PROJECT_SOURCE_DIR}/switcher/win32/vantrel.ico)

# The setup keeps each file's time, to give it back on install: it gets
# copies dated with the release time (tools/release_files.py), so that the
# same commit makes the same setup program. The programs are the release's
# (cmake/release_files.cmake).
set(setup_files ${CMAKE_BINARY_DIR}/setup-files)
# Signed, the uninstaller and the setup are signed by makensis as it makes
# them, through the same command, quoted for the shell it runs it with.
set(setup_sign "")
if(SIGN_COMMAND)
  set(words "")
  foreach(word IN LISTS SIGN_COMMAND)
    string(APPEND words "\"${word}\" ")
  endforeach()
  set(setup_sign "-DSIGN=${words}--name")
endif()
add_custom_command(
  OUTPUT ${SETUP_PROGRAM}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${setup_dir}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${setup_files}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/release_files.py stage ${PROJECT_SOURCE_DIR} ${setup_files}
          ${CMAKE_BINARY_DIR}/package-text/README.txt ${CMAKE_BINARY_DIR}/package-text/LICENSE.txt
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8
          -DVERSION=${PROJECT_VERSION} -DTARGET=${setup_target} -DOUTFILE=${SETUP_PROGRAM}
          -DVANTREL_EXE=${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:Vantrel>
          -DBRENNIC_EXE=${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:Brennic>
          -DGAMESWAP_EXE=${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:GameSwap>
          -DSWITCH_EXE=${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:VantrelSwitch> -DTEXT_DIR=${setup_files}
          -DICON=${setup_icon} ${setup_sign}
          ${setup_script}
  DEPENDS ${setup_script} ${RELEASE_FILES_STAMP} ${setup_icon} ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/tools/release_files.py
  COMMENT "Making the setup program with NSIS (${setup_target})"
  VERBATIM)
add_custom_target(setup ALL DEPENDS ${SETUP_PROGRAM})
# README.txt and LICENSE.txt are made for the zip; the setup carries them too.
add_dependencies(setup package_text shipped_programs)
