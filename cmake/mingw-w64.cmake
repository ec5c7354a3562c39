# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, so
# std::thread and std::mutex work). ZEL2_WINDOWS_PREFIX names where Qt and libjpeg for
# Windows were installed (scripts/build-windows); the core and its tests need neither.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(ZEL2_WINDOWS_PREFIX "$ENV{ZEL2_WINDOWS_PREFIX}" CACHE PATH "Qt and libjpeg built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${ZEL2_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the cross sysroot only, never the host's libraries (fuse3, openssl ...).
set(ENV{PKG_CONFIG_LIBDIR} "${ZEL2_WINDOWS_PREFIX}/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The programs carry the GCC runtime and its threads, so they need no DLLs of the compiler.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
