# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DCMAKE_PREFIX_PATH=<Qt built for Windows> ...
#
# The posix thread model is the one with std::thread, std::mutex and
# friends; the default "win32" one lacks them, so both compilers are named
# explicitly instead of going through the update-alternatives link.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORLO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORLO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORLO_MINGW_TRIPLE}-g++-posix)
# windres compiles .rc files (icon, version information) into objects.
set(CMAKE_RC_COMPILER ${ORLO_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW sysroot, never from the build
# machine; programs (moc, rcc, uic, windres) are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${ORLO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# With the modes above, a Windows Qt given in CMAKE_PREFIX_PATH would be
# looked for under the sysroot and missed: make each such prefix a root too.
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
    list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
endforeach()

# A Windows Qt cannot run its own moc, rcc and uic here; it takes them from
# the build machine's Qt 6 of the same version (Debian's qt6-base-dev).
if(NOT DEFINED QT_HOST_PATH)
    set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine")
endif()
if(NOT DEFINED QT_HOST_PATH_CMAKE_DIR)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake
        CACHE PATH "CMake packages of the build machine's Qt")
endif()
