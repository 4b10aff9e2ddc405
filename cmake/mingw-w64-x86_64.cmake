# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (g++-mingw-w64-x86-64-posix: POSIX
# threads, as std::thread and GoogleTest need). The programs are linked statically, libgcc, libstdc++ and
# winpthread included, so that each .exe runs alone, on Windows or under Wine, without DLLs beside it.
#
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCORVANE_QT=OFF ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 optimizing std::string's operator+ warns of a memcpy overlap that cannot happen (GCC bug 105651);
# the build machine's compiler, the same GCC, builds the tests unoptimized and so never sees it.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The tests run under Wine's 64-bit loader (wine64 installs it without the `wine` wrapper). ctest sets
# WINEPREFIX and WINEDEBUG (scripts/windows-test).
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
