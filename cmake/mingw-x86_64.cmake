# Cross-compiles for 64-bit Windows with mingw-w64: the build the Windows tests run on where
# the machine cannot execute 32-bit programs, and so cannot run 32-bit Wine.
set(NORVI_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
