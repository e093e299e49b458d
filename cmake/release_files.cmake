# The programs as a release carries them, in the zip and in the setup: copies
# in release-files/, dated with the release time (tools/release_files.py)
# and, when a key is given, signed.
#
# Signing: VANTREL_SIGN_CERT and VANTREL_SIGN_KEY (PEM files) and, if wanted,
# VANTREL_SIGN_TIMESTAMP (a time stamp server's URL) in the environment when
# configuring; VANTREL_SIGN_PASS, the key's password, in the environment when
# building, so that it is never written into the build tree.

# Every program a release carries, one line each.
set(shipped_programs
    Vantrel
    Brennic
    GameSwap
    VantrelSwitch)

set(RELEASE_FILES_DIR ${CMAKE_BINARY_DIR}/release-files)
set(RELEASE_FILES_STAMP ${CMAKE_BINARY_DIR}/release-files.stamp)

set(SIGN_COMMAND "")
if(NOT "$ENV{VANTREL_SIGN_CERT}" STREQUAL "" OR NOT "$ENV{VANTREL_SIGN_KEY}" STREQUAL "")
  if("$ENV{VANTREL_SIGN_CERT}" STREQUAL "" OR "$ENV{VANTREL_SIGN_KEY}" STREQUAL "")
    message(FATAL_ERROR "To sign the release, give both VANTREL_SIGN_CERT and VANTREL_SIGN_KEY")
  endif()
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  set(SIGN_COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/release_files.py sign
      --cert $ENV{VANTREL_SIGN_CERT} --key $ENV{VANTREL_SIGN_KEY})
  if(NOT "$ENV{VANTREL_SIGN_TIMESTAMP}" STREQUAL "")
    list(APPEND SIGN_COMMAND --timestamp $ENV{VANTREL_SIGN_TIMESTAMP})
  endif()
  message(STATUS "The release files are signed with $ENV{VANTREL_SIGN_CERT}")
endif()

set(shipped_files "")
set(shipped_names "")
foreach(program IN LISTS shipped_programs)
  list(APPEND shipped_files $<TARGET_FILE:${program}>)
  list(APPEND shipped_names ${RELEASE_FILES_DIR}/$<TARGET_FILE_NAME:${program}>)
endforeach()
set(sign_step "")
set(what "Dating")
if(SIGN_COMMAND)
  set(sign_step COMMAND ${SIGN_COMMAND} --name Vantrel ${shipped_names})
  set(what "Dating and signing")
endif()
add_custom_command(
  OUTPUT ${RELEASE_FILES_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${RELEASE_FILES_DIR}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/release_files.py stage ${PROJECT_SOURCE_DIR}
          ${RELEASE_FILES_DIR} ${shipped_files}
  ${sign_step}
  COMMAND ${CMAKE_COMMAND} -E touch ${RELEASE_FILES_STAMP}
  DEPENDS ${shipped_programs} ${PROJECT_SOURCE_DIR}/tools/release_files.py
  COMMENT "${what} the programs a release carries"
  VERBATIM)
add_custom_target(shipped_programs ALL DEPENDS ${RELEASE_FILES_STAMP})
