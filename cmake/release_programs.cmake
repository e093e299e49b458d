# Vantrel.exe and Brennic.exe as users get them: small, and paying at start
# only for what they use. Included from the top after the targets exist.
#
# Most of a program's weight used to be what the C++ library pulls in, not
# our code: the exception machinery (unwinder, exception classes with their
# own strings, the terminate handler's name demangler). The programs and the
# libraries they link are built without exceptions and RTTI, and
# fatal_exit.cpp ends the program where the library would have thrown. The
# test programs link the same libraries and keep exceptions of their own.
# The link map each program writes beside itself (<name>.map, asked for by
# check_import_slots) tells where its bytes come from (tools/bench/link-map
# reads it).

set(release_programs Vantrel Brennic)
set(release_libraries platform_win32 common_core switcher_core stub_core)
set(release_compile_options
    -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-threadsafe-statics)

foreach(library IN LISTS release_libraries)
  get_target_property(type ${library} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    target_compile_options(${library} PRIVATE ${release_compile_options})
  endif()
endforeach()

# In a folder of its own so that platform_win32, which the tests link too,
# does not pick it up.
add_library(fatal_exit OBJECT ${PROJECT_SOURCE_DIR}/platform/win32/runtime/fatal_exit.cpp)
target_compile_options(fatal_exit PRIVATE ${release_compile_options})
target_link_libraries(fatal_exit PUBLIC platform_win32)
# The delay-load helper's hook, which must reach the link as an object.
add_library(delay_load_hook OBJECT ${PROJECT_SOURCE_DIR}/platform/win32/runtime/delay_load_hook.cpp)
target_compile_options(delay_load_hook PRIVATE ${release_compile_options})
target_link_libraries(delay_load_hook PUBLIC platform_win32)

foreach(program IN LISTS release_programs)
  target_compile_options(${program} PRIVATE ${release_compile_options})
  target_sources(${program} PRIVATE $<TARGET_OBJECTS:fatal_exit> $<TARGET_OBJECTS:delay_load_hook>)
endforeach()
