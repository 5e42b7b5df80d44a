# Cross-build for Windows with Debian's MinGW-w64 (posix thread model), included by the
# toolchain file of each architecture after it has set FOLIVEX_ARCH, CMAKE_SYSTEM_PROCESSOR,
# FOLIVEX_MINGW_TRIPLE, FOLIVEX_WIDL_TARGET and FOLIVEX_STDOLE_DIR (where Wine keeps that
# architecture's stdole2.tlb, which widl imports).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${FOLIVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FOLIVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FOLIVEX_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FOLIVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(FOLIVEX_WIDL ${FOLIVEX_MINGW_TRIPLE}-widl)
