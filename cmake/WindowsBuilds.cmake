# From the native tree, cross-build the Windows DLLs (x86 and x64) as sub-builds, install them
# into a distributable tree, and register the Wine integration tests that run them.
include(ExternalProject)

option(FOLIVEX_WINDOWS_BUILDS "Cross-build the Windows DLLs with MinGW-w64" ON)
set(FOLIVEX_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Where the distributable tree goes")

if(FOLIVEX_WINDOWS_BUILDS)
    # Wine runs 32-bit programs only where the kernel runs 32-bit Linux programs; some kernels are
    # started with that switched off. There the x86 build finishes its type library with the x64
    # build's tool (the library keeps its own SYSKIND), and the x86 Wine tests are not run.
    execute_process(COMMAND /usr/lib/wine/wine --version
        RESULT_VARIABLE wine32_status OUTPUT_QUIET ERROR_QUIET)
    if(wine32_status EQUAL 0)
        set(FOLIVEX_WINE32_RUNS ON)
    else()
        set(FOLIVEX_WINE32_RUNS OFF)
        message(WARNING "32-bit programs cannot run on this machine (Wine's 32-bit loader failed: "
            "${wine32_status}): the x86 DLL is built, its Wine tests are disabled")
    endif()
    foreach(arch x64 x86)
        set(arch_args "")
        set(arch_depends "")
        if(arch STREQUAL "x86" AND NOT FOLIVEX_WINE32_RUNS)
            set(arch_args
                -DFOLIVEX_TYPELIB_COMPLETER=${CMAKE_BINARY_DIR}/windows-x64/interface/folivex_complete_typelib.exe)
            set(arch_depends DEPENDS windows-x64)
        endif()
        ExternalProject_Add(windows-${arch}
            ${arch_depends}
            SOURCE_DIR ${PROJECT_SOURCE_DIR}
            BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
            CMAKE_ARGS
                -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-${arch}.cmake
                -DCMAKE_BUILD_TYPE=Release
                -DCMAKE_INSTALL_PREFIX=${FOLIVEX_DIST_DIR}
                -DFOLIVEX_WINDOWS_TESTS=${FOLIVEX_NATIVE_TESTS}
                ${arch_args}
            BUILD_ALWAYS ON
            USES_TERMINAL_BUILD ON
            STEP_TARGETS build)
    endforeach()
    include(${PROJECT_SOURCE_DIR}/deploy/packaging.cmake)
    if(FOLIVEX_NATIVE_TESTS)
        add_subdirectory(${PROJECT_SOURCE_DIR}/tests/wine ${CMAKE_BINARY_DIR}/tests/wine)
    endif()
endif()
