# Shared by the two MinGW-w64 toolchain files; they set ZENTREL_MINGW_TRIPLE
# first. The posix-thread compilers are used because the win32-thread ones
# lack std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZENTREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZENTREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZENTREL_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${ZENTREL_MINGW_TRIPLE}-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${ZENTREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every binary carries its own C++ runtime, libgcc and winpthread, so Wine
# (or a user's machine) needs no MinGW DLLs next to it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and build-time steps (GoogleTest discovery) run the .exe files
# through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
