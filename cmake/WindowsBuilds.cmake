# From the native tree, cross-build the Windows DLLs (x86 and x64) as sub-builds, install them
# into a distributable tree, and register the Wine integration tests that run them.
include(ExternalProject)

option(FOLIVEX_WINDOWS_BUILDS "Cross-build the Windows DLLs with MinGW-w64" ON)
set(FOLIVEX_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Where the distributable tree goes")

if(FOLIVEX_WINDOWS_BUILDS)
    foreach(arch x86 x64)
        ExternalProject_Add(windows-${arch}
            SOURCE_DIR ${PROJECT_SOURCE_DIR}
            BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
            CMAKE_ARGS
                -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-${arch}.cmake
                -DCMAKE_BUILD_TYPE=Release
                -DCMAKE_INSTALL_PREFIX=${FOLIVEX_DIST_DIR}
                -DFOLIVEX_WINDOWS_TESTS=${FOLIVEX_NATIVE_TESTS}
            BUILD_ALWAYS ON
            USES_TERMINAL_BUILD ON
            STEP_TARGETS build)
    endforeach()
    include(${PROJECT_SOURCE_DIR}/deploy/packaging.cmake)
    if(FOLIVEX_NATIVE_TESTS)
        add_subdirectory(${PROJECT_SOURCE_DIR}/tests/wine ${CMAKE_BINARY_DIR}/tests/wine)
    endif()
endif()
