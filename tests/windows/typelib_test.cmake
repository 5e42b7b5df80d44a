# The type-library test: checks the shipped library, given as a .tlb or as the DLL embedding it.
#   folivex_typelib_test <Folivex.tlb | Folivex.dll>
if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

add_executable(folivex_typelib_test ${CMAKE_CURRENT_LIST_DIR}/typelib_test.cpp)
target_compile_definitions(folivex_typelib_test PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
set_target_properties(folivex_typelib_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(folivex_typelib_test PRIVATE gtest oleaut32 ole32 uuid shell32)
if(NOT MSVC)
    target_compile_options(folivex_typelib_test PRIVATE -Wall -Wextra -Werror)
    target_link_options(folivex_typelib_test PRIVATE -static -static-libgcc -static-libstdc++)
endif()
