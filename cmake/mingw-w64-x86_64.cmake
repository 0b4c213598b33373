# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::mutex need):
#   cmake -S . -B build-win --toolchain cmake/mingw-w64-x86_64.cmake -DQM_WITH_QT=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's runtime, so that they run without MinGW's DLLs beside them.
# Qt for Windows and the programs built on it share the runtime DLLs instead
# (-DQM_STATIC_RUNTIME=OFF), so that one process has one C++ runtime.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QM_STATIC_RUNTIME)
if(NOT DEFINED QM_STATIC_RUNTIME OR QM_STATIC_RUNTIME)
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

# GCC 12's -Wrestrict misreads libstdc++'s own string code (GCC bug 105329) in every file.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
