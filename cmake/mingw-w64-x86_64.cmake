# Cross compiling for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The posix thread model gives std::thread and std::mutex; the win32 one does not.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PRINTSET_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PRINTSET_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PRINTSET_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PRINTSET_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PRINTSET_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no MinGW runtime DLLs to copy next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
