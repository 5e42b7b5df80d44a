# The type library, its C/C++ header and the IID/CLSID definitions, made from the one IDL.
#
#   folivex_type_library(IDL <path>)
#
# Outputs, in ${CMAKE_CURRENT_BINARY_DIR}/generated:
#   Folivex.tlb    the completed type library (custom target folivex_tlb builds it)
#   folivex.h      the header for early-binding code
#   folivex_i.c    the IID/CLSID definitions, compiled into the static library folivex_idl,
#                  which also carries the include directory of the header
# Sets in the caller's scope: FOLIVEX_TLB_FILE (the .tlb) and FOLIVEX_GENERATED_HEADERS.
#
# With MinGW the compiler is widl, and its library is finished by complete_typelib.exe, built by
# this same cross build and run under Wine (wine or wine64 after FOLIVEX_ARCH) in a prefix of the
# build tree's own. With MSVC it is MIDL, whose library needs no completion.

set(FOLIVEX_TYPELIB_DIR ${CMAKE_CURRENT_LIST_DIR})

function(folivex_type_library)
    cmake_parse_arguments(ARG "" "IDL" "" ${ARGN})
    if(NOT ARG_IDL)
        message(FATAL_ERROR "folivex_type_library: IDL <path> is required")
    endif()
    set(name Folivex)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/generated)
    set(tlb ${out}/${name}.tlb)
    file(MAKE_DIRECTORY ${out})

    if(MSVC)
        add_custom_command(OUTPUT ${tlb} ${out}/folivex.h ${out}/folivex_i.c
            COMMAND midl /nologo /env $<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>,x64,win32>
                    /tlb ${tlb} /h ${out}/folivex.h /iid ${out}/folivex_i.c
                    /dlldata ${out}/dlldata.c /proxy ${out}/folivex_p.c ${ARG_IDL}
            DEPENDS ${ARG_IDL}
            COMMENT "MIDL ${ARG_IDL}"
            VERBATIM)
    else()
        foreach(var FOLIVEX_WIDL FOLIVEX_STDOLE_DIR FOLIVEX_ARCH)
            if(NOT ${var})
                message(FATAL_ERROR "folivex_type_library: ${var} is not set (see cmake/toolchains)")
            endif()
        endforeach()
        if(FOLIVEX_ARCH STREQUAL "x64")
            set(widl_bits --win64)
            set(wine /usr/lib/wine/wine64)
            set(winearch win64)
        else()
            set(widl_bits --win32)
            set(wine wine)
            set(winearch win32)
        endif()
        set(widl ${FOLIVEX_WIDL} -I/usr/include/wine/wine/windows -L${FOLIVEX_STDOLE_DIR} ${widl_bits})
        add_custom_command(OUTPUT ${out}/widl-${name}.tlb
            COMMAND ${widl} -t -o ${out}/widl-${name}.tlb ${ARG_IDL}
            DEPENDS ${ARG_IDL} COMMENT "widl: type library" VERBATIM)
        add_custom_command(OUTPUT ${out}/folivex.h
            COMMAND ${widl} -h -o ${out}/folivex.h ${ARG_IDL}
            DEPENDS ${ARG_IDL} COMMENT "widl: header" VERBATIM)
        add_custom_command(OUTPUT ${out}/folivex_i.c
            COMMAND ${widl} -u -o ${out}/folivex_i.c ${ARG_IDL}
            DEPENDS ${ARG_IDL} COMMENT "widl: interface identifiers" VERBATIM)

        add_executable(folivex_complete_typelib ${FOLIVEX_TYPELIB_DIR}/complete_typelib.cpp)
        target_compile_features(folivex_complete_typelib PRIVATE cxx_std_20)
        target_compile_definitions(folivex_complete_typelib PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
        target_compile_options(folivex_complete_typelib PRIVATE -Wall -Wextra -Werror)
        target_link_options(folivex_complete_typelib PRIVATE -municode -static -static-libgcc -static-libstdc++)
        target_link_libraries(folivex_complete_typelib PRIVATE folivex_com oleaut32 ole32 uuid)

        # The build's own Wine prefix: a missing or foreign ~/.wine does not matter.
        set(prefix ${CMAKE_BINARY_DIR}/typelib-prefix)
        set(wine_env ${CMAKE_COMMAND} -E env WINEPREFIX=${prefix} WINEARCH=${winearch} WINEDEBUG=-all
            WINEDLLOVERRIDES=mscoree,mshtml= --unset=DISPLAY)
        add_custom_command(OUTPUT ${prefix}/system.reg
            COMMAND ${wine_env} ${wine} wineboot -i
            COMMAND ${wine_env} wineserver -w
            COMMENT "Wine prefix for build-time tools"
            VERBATIM)
        # Relative file names: the tool is a Windows program and sees the folder through Wine.
        add_custom_command(OUTPUT ${tlb}
            COMMAND ${wine_env} ${wine} $<TARGET_FILE:folivex_complete_typelib> widl-${name}.tlb ${name}.tlb
            COMMAND ${wine_env} wineserver -w
            WORKING_DIRECTORY ${out}
            DEPENDS ${out}/widl-${name}.tlb folivex_complete_typelib ${prefix}/system.reg
            COMMENT "Completing the type library ${name}.tlb"
            VERBATIM)
    endif()

    add_custom_target(folivex_tlb DEPENDS ${tlb})
    add_library(folivex_idl STATIC ${out}/folivex_i.c ${out}/folivex.h)
    target_include_directories(folivex_idl PUBLIC ${out})
    set(FOLIVEX_TLB_FILE ${tlb} PARENT_SCOPE)
    set(FOLIVEX_GENERATED_HEADERS ${out}/folivex.h ${out}/folivex_i.c PARENT_SCOPE)
endfunction()
