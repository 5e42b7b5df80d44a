# Shared build rules: warnings, one library per subsystem, native unit tests.

function(folivex_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    endif()
endfunction()

# folivex_subsystem(<name>
#     [PORTABLE files...]   compiled everywhere (native tests and Windows)
#     [WIN32 files...]      compiled only for Windows
#     [DEPENDS libs...]     other folivex_<x> libraries or system libraries
#     [TESTS files...]      GoogleTest sources, built and run natively
#     [TEST_DEPENDS libs...])
# Creates the static library folivex_<name> and, natively, folivex_<name>_tests.
function(folivex_subsystem name)
    cmake_parse_arguments(ARG "" "" "PORTABLE;WIN32;DEPENDS;TESTS;TEST_DEPENDS" ${ARGN})
    set(sources ${ARG_PORTABLE})
    if(WIN32)
        list(APPEND sources ${ARG_WIN32})
    endif()
    set(lib folivex_${name})
    if(sources)
        add_library(${lib} STATIC ${sources})
        target_include_directories(${lib} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${lib} PUBLIC ${ARG_DEPENDS})
        folivex_warnings(${lib})
    else()
        add_library(${lib} INTERFACE)
        target_include_directories(${lib} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${lib} INTERFACE ${ARG_DEPENDS})
    endif()
    if(ARG_TESTS AND FOLIVEX_NATIVE_TESTS)
        add_executable(${lib}_tests ${ARG_TESTS})
        target_link_libraries(${lib}_tests PRIVATE ${lib} ${ARG_TEST_DEPENDS} GTest::gtest_main
                                                   GTest::gmock)
        folivex_warnings(${lib}_tests)
        gtest_discover_tests(${lib}_tests TEST_PREFIX "native.${name}." DISCOVERY_MODE PRE_TEST)
    endif()
endfunction()
