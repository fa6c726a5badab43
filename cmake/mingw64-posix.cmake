# Cross build for 64-bit Windows with Debian's MinGW-w64 (tools/package_windows.sh
# takes the compiler, strip and objdump from the cache this makes).
include(${CMAKE_CURRENT_LIST_DIR}/mingw64-names.cmake)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER ${TESSARO_MINGW_CC})
set(CMAKE_CXX_COMPILER ${TESSARO_MINGW_CXX})
set(CMAKE_RC_COMPILER ${TESSARO_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSARO_MINGW_TRIPLET})
# The Qt for Windows lives outside the find root and its host tools (moc, rcc)
# run here, so look-ups search both.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
