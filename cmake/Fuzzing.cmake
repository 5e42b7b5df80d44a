# libFuzzer targets for the portable code that parses or walks outside input.
#
# They need clang (libFuzzer, with ASan and UBSan), while the native tree compiles with the
# system's default compiler; so the native tree drives a clang sub-build of this same source in
# <native tree>/fuzz (FOLIVEX_FUZZ=ON) and registers a short run of each target with CTest. The
# `fuzz` preset makes the same tree by hand, for long runs:
#
#     cmake --preset fuzz && cmake --build --preset fuzz
#     build/fuzz/fuzz/keystrokes_fuzz -max_total_time=600 /tmp/corpus viewer_bridge/fuzz/keystrokes_corpus
#
# A target is named by its source, <subsystem>/fuzz/<name>_fuzz.cpp, and its seed corpus lies
# beside it in <subsystem>/fuzz/<name>_corpus/.

option(FOLIVEX_FUZZ "Build only the portable libraries and the libFuzzer targets (clang)" OFF)

# name  source  libraries
set(FOLIVEX_FUZZ_TARGETS
    "keystrokes|viewer_bridge/fuzz/keystrokes_fuzz.cpp|folivex_viewer_bridge"
    "automation_text|common/fuzz/automation_text_fuzz.cpp|folivex_common"
    "window_walks|reader_windows/fuzz/window_walks_fuzz.cpp|folivex_reader_windows_testing"
    "document_source|control/fuzz/document_source_fuzz.cpp|folivex_control,folivex_testing"
    "downloader|download/fuzz/downloader_fuzz.cpp|folivex_download,folivex_testing"
    "registry_version|registry/fuzz/registry_version_fuzz.cpp|folivex_registry")

# Seconds each target runs in CTest.
set(FOLIVEX_FUZZ_SECONDS 4 CACHE STRING "How long CTest runs each fuzz target")

if(FOLIVEX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "FOLIVEX_FUZZ needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Everything is instrumented for coverage and checked by the sanitizers; only the targets
    # link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
endif()

# Called once the subsystems are defined.
function(folivex_fuzz_targets)
    if(FOLIVEX_FUZZ)
        foreach(entry ${FOLIVEX_FUZZ_TARGETS})
            string(REPLACE "|" ";" fields "${entry}")
            list(GET fields 0 name)
            list(GET fields 1 source)
            list(GET fields 2 libraries)
            string(REPLACE "," ";" libraries "${libraries}")
            add_executable(${name}_fuzz ${PROJECT_SOURCE_DIR}/${source})
            target_link_libraries(${name}_fuzz PRIVATE ${libraries})
            target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
            set_target_properties(${name}_fuzz PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                          ${CMAKE_BINARY_DIR}/fuzz)
            folivex_warnings(${name}_fuzz)
        endforeach()
    elseif(FOLIVEX_NATIVE_TESTS)
        find_program(FOLIVEX_CLANGXX clang++)
        find_program(FOLIVEX_CLANG clang)
        if(NOT FOLIVEX_CLANGXX OR NOT FOLIVEX_CLANG)
            message(WARNING "clang not found: the fuzz targets are not built (tools/setup)")
            return()
        endif()
        include(ExternalProject)
        ExternalProject_Add(fuzz-targets
            SOURCE_DIR ${PROJECT_SOURCE_DIR}
            BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
            CMAKE_ARGS
                -DCMAKE_C_COMPILER=${FOLIVEX_CLANG}
                -DCMAKE_CXX_COMPILER=${FOLIVEX_CLANGXX}
                -DCMAKE_BUILD_TYPE=RelWithDebInfo
                -DFOLIVEX_FUZZ=ON
                -DFOLIVEX_NATIVE_TESTS=OFF
                -DFOLIVEX_WINDOWS_BUILDS=OFF
            BUILD_ALWAYS ON
            INSTALL_COMMAND ""
            USES_TERMINAL_BUILD ON)
        foreach(entry ${FOLIVEX_FUZZ_TARGETS})
            string(REPLACE "|" ";" fields "${entry}")
            list(GET fields 0 name)
            list(GET fields 1 source)
            get_filename_component(folder ${source} DIRECTORY)
            add_test(NAME fuzz.${name}
                COMMAND ${PROJECT_SOURCE_DIR}/tools/run_fuzz
                        ${CMAKE_BINARY_DIR}/fuzz/fuzz/${name}_fuzz
                        ${PROJECT_SOURCE_DIR}/${folder}/${name}_corpus
                        ${CMAKE_BINARY_DIR}/fuzz-runs/${name} ${FOLIVEX_FUZZ_SECONDS})
            set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120)
        endforeach()
    endif()
endfunction()
