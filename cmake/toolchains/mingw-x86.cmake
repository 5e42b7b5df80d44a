# Cross-build for 32-bit Windows with Debian's MinGW-w64.
set(FOLIVEX_ARCH x86)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(FOLIVEX_MINGW_TRIPLE i686-w64-mingw32)
set(FOLIVEX_WIDL_TARGET i386)
set(FOLIVEX_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
