# 64-bit Windows: the tree the tests run in where 32-bit code cannot execute.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
