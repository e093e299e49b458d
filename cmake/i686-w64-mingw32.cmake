# The 32-bit Windows programs: what users get.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triplet i686-w64-mingw32)
set(mingw_wine_width win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
