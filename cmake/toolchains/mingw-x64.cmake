# Cross-build for 64-bit Windows with Debian's MinGW-w64.
set(FOLIVEX_ARCH x64)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FOLIVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(FOLIVEX_WIDL_TARGET x86_64)
set(FOLIVEX_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
