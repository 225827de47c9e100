# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the -posix
# compiler: it has std::thread and std::mutex, the -win32 one does not).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QH_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QH_MINGW_PREFIX}-g++-posix)
set(CMAKE_ASM_COMPILER ${QH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_RC_COMPILER ${QH_MINGW_PREFIX}-windres)
set(CMAKE_AR ${QH_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${QH_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${QH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run under Wine, through a script that starts a program once more
# when Wine failed to start it at all.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/underWine.sh)
