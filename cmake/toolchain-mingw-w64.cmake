# Cross compiles for 64-bit Windows with Debian's MinGW-w64 compilers, and runs the
# built programs (tests, the reference host) under Wine.
#   cmake -S . -B build/windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUM_MINGW_TRIPLET x86_64-w64-mingw32)

# The posix threads variant provides std::thread and std::mutex, which GoogleTest uses.
find_program(LUM_MINGW_CXX NAMES ${LUM_MINGW_TRIPLET}-g++-posix ${LUM_MINGW_TRIPLET}-g++
             REQUIRED)
find_program(LUM_MINGW_CC NAMES ${LUM_MINGW_TRIPLET}-gcc-posix ${LUM_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER "${LUM_MINGW_CXX}")
if(LUM_MINGW_CC)
    set(CMAKE_C_COMPILER "${LUM_MINGW_CC}")
endif()
set(CMAKE_RC_COMPILER ${LUM_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's runtime is linked in statically, so the .exe and .dll files run under
# Wine without copying libgcc, libstdc++ or winpthread next to them. -static is needed
# for winpthread, which the driver adds last as -lpthread; the project's own DLLs are
# linked through their import libraries by full path and stay DLLs.
set(lumStaticRuntime "-static-libgcc -static-libstdc++ -static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${lumStaticRuntime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${lumStaticRuntime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${lumStaticRuntime}")

# Programs built here run under Wine: ctest and test discovery go through it.
find_program(LUM_WINE_LOADER NAMES wine64 wine
             PATHS /usr/lib/wine /usr/lib64/wine /usr/lib/x86_64-linux-gnu/wine
             NO_DEFAULT_PATH)
if(NOT LUM_WINE_LOADER)
    find_program(LUM_WINE_LOADER NAMES wine64 wine)
endif()
# The project's CMakeLists.txt wraps it with a private Wine prefix in the build folder.
if(LUM_WINE_LOADER)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${LUM_WINE_LOADER}")
endif()
