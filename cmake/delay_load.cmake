# Delay-loaded system DLLs: a program linked with delay_<name> instead of
# <name> loads that DLL on the first call into it, not at start. MinGW's
# own libraries provide the loader's helper (__delayLoadHelper2).
#
#   add_delay_import_library(user32 USER32.dll)   # makes target delay_user32
#
# Two things of ld's would leave a delay-loaded function's import slot empty,
# sending its first call to address 0; both are countered:
# - at 32 bits it drops the stub of a function only reached through its
#   slot (__imp_ pointer), so the top declares the window DLLs' functions
#   without dllimport and every call goes through the stub;
# - with --gc-sections it drops the stub of a function no live code calls
#   while keeping its slot, so cmake/delay_thunks.ld keeps the stubs.
#
# List delay_<name> right after the libraries that call into the DLL and
# before any plain <name>: the linker binds each import from the first
# library it meets that has it, and one plain import loads the DLL at start.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(delay_import_prefix "__imp__")
else()
  set(delay_import_prefix "__imp_")
endif()

function(add_delay_import_library name dll)
  find_library(system_${name} NAMES ${name} REQUIRED)
  set(output ${CMAKE_BINARY_DIR}/delay_import/libdelay_${name}.a)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay_import
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/delay-import-library ${CMAKE_NM} ${CMAKE_DLLTOOL}
            ${delay_import_prefix} ${system_${name}} ${dll} ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/delay-import-library ${system_${name}}
    COMMENT "Delay-import library for ${dll}"
    VERBATIM)
  add_custom_target(delay_${name}_library DEPENDS ${output})
  add_library(delay_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(delay_${name} PROPERTIES IMPORTED_LOCATION ${output}
                        INTERFACE_LINK_OPTIONS -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/delay_thunks.ld
                        INTERFACE_LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/delay_thunks.ld)
  add_dependencies(delay_${name} delay_${name}_library)
endfunction()

# What a program we ship imports, checked once it is linked: every import
# slot filled (an empty one sends the first call through it to address 0; a
# delay-loaded function whose stub the linker dropped does that), and only
# KnownDLLs imported at start (Windows looks for any other DLL in the
# program's folder first). tools/pe_imports.py reads the program and its
# link map, which this asks for; a program that fails is deleted, so that
# nothing packages it and the next build links it again. Called from the
# folder that makes the program, for each program we ship.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(check_import_slots program)
  target_link_options(${program} PRIVATE -Wl,-Map=$<TARGET_FILE_DIR:${program}>/${program}.map)
  add_custom_command(TARGET ${program} POST_BUILD
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/pe_imports.py check --delete-on-failure
            $<TARGET_FILE:${program}>
    VERBATIM)
endfunction()
