# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads: std::thread, std::mutex).
# QRV_WIN_PREFIXES: the folders where the cross-built dependencies are installed (';'-separated).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QRV_WIN_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QRV_WIN_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QRV_WIN_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QRV_WIN_TRIPLE}-windres)
set(CMAKE_AR ${QRV_WIN_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QRV_WIN_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Variables a try_compile project must see too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QRV_WIN_PREFIXES)
if(NOT QRV_WIN_PREFIXES AND DEFINED ENV{QRV_WIN_PREFIXES})
    set(QRV_WIN_PREFIXES "$ENV{QRV_WIN_PREFIXES}")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${QRV_WIN_TRIPLE} ${QRV_WIN_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine runs the test executables that CMake or CTest would start.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# pkg-config finds only the cross-built libraries.
set(ENV{PKG_CONFIG_LIBDIR} "")
foreach(prefix IN LISTS QRV_WIN_PREFIXES)
    set(ENV{PKG_CONFIG_LIBDIR} "$ENV{PKG_CONFIG_LIBDIR}:${prefix}/lib/pkgconfig")
endforeach()
set(ENV{PKG_CONFIG_PATH} "")
set(OPENSSL_USE_STATIC_LIBS TRUE)
