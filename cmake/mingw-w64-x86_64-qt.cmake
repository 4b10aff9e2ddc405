# Cross build of the window for 64-bit Windows against Qt for Windows (scripts/windows-qt builds it), with
# Debian's MinGW-w64 compiler. As mingw-w64-x86_64.cmake, except that the programs use the compiler's
# run-time DLLs (libstdc++-6, libgcc_s_seh-1, libwinpthread-1) as Qt's DLLs do: one C++ run-time in the
# process, shipped beside the programs. Qt is found in the folder CORVANE_WINDOWS_QT names:
#
#   cmake -S . -B build/windows-qt -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-qt.cmake \
#         -DCORVANE_WINDOWS_QT=/var/cache/corvane4/qt-6.4.2-mingw-w64 ...
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")

# Try-compiles read this file again; they see the Qt folder through the environment.
if(CORVANE_WINDOWS_QT)
    set(ENV{CORVANE_WINDOWS_QT} "${CORVANE_WINDOWS_QT}")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH $ENV{CORVANE_WINDOWS_QT})
# Qt's packages run the build machine's moc, rcc and uic, of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
