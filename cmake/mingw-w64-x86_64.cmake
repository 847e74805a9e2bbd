# Cross-build for Windows x86-64 with Debian's mingw-w64 (posix threads, as
# the Windows builds of Qt and libsodium were made) and run the results with
# wine.
#
#   cmake -S . -B build-windows \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DBRENVOTH_WINDOWS_LIBS=<folder with qt5.15.8-mingw64/ and libsodium1.0.18-mingw64/>
#
# Every library found for the target comes from that folder or from
# mingw-w64's own sysroot, never from the Linux host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRENVOTH_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRENVOTH_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRENVOTH_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRENVOTH_TRIPLE}-windres)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Try-compile projects read this file again; hand them the folder too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRENVOTH_WINDOWS_LIBS)
if(NOT BRENVOTH_WINDOWS_LIBS)
    message(FATAL_ERROR "Set BRENVOTH_WINDOWS_LIBS to the folder the Windows libraries are unpacked in")
endif()
file(GLOB BRENVOTH_WINDOWS_PREFIXES LIST_DIRECTORIES true "${BRENVOTH_WINDOWS_LIBS}/*-mingw64")

set(CMAKE_FIND_ROOT_PATH /usr/${BRENVOTH_TRIPLE} ${BRENVOTH_WINDOWS_PREFIXES})
set(CMAKE_PREFIX_PATH ${BRENVOTH_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config: only the Windows packages' .pc files, each with its prefix taken
# from where it was unpacked (the files name their build-time prefix).
set(pkgconfig_dirs)
foreach(prefix IN LISTS BRENVOTH_WINDOWS_PREFIXES)
    if(IS_DIRECTORY ${prefix}/lib/pkgconfig)
        list(APPEND pkgconfig_dirs ${prefix}/lib/pkgconfig)
    endif()
endforeach()
string(REPLACE ";" ":" pkgconfig_dirs "${pkgconfig_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${pkgconfig_dirs}")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --define-prefix)
