# The same programs at 64 bits, to test them where 32-bit code cannot run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triplet x86_64-w64-mingw32)
set(mingw_wine_width win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
