# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model, which std::thread and GoogleTest need):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The runtime is linked in statically, so quorvane.exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVANE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVANE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVANE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVANE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVANE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# -O2 as in the Linux builds: at -O3, GCC 12 warns of overlapping copies inside
# the standard library's string code (a false alarm), which -Werror would make
# fatal. Set in the cache: CMake appends its own -O3 to any *_INIT flags.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags" FORCE)
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags" FORCE)
