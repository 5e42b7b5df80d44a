# Until the completion step exists: widl's outputs as they are.
function(folivex_type_library)
    cmake_parse_arguments(ARG "" "IDL" "" ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/generated)
    file(MAKE_DIRECTORY ${out})
    set(widl ${FOLIVEX_WIDL} -I/usr/include/wine/wine/windows -L${FOLIVEX_STDOLE_DIR}
        $<IF:$<STREQUAL:${FOLIVEX_ARCH},x64>,--win64,--win32>)
    add_custom_command(OUTPUT ${out}/Folivex.tlb
        COMMAND ${widl} -t -o ${out}/Folivex.tlb ${ARG_IDL} DEPENDS ${ARG_IDL})
    add_custom_command(OUTPUT ${out}/folivex.h
        COMMAND ${widl} -h -o ${out}/folivex.h ${ARG_IDL} DEPENDS ${ARG_IDL})
    add_custom_command(OUTPUT ${out}/folivex_i.c
        COMMAND ${widl} -u -o ${out}/folivex_i.c ${ARG_IDL} DEPENDS ${ARG_IDL})
    add_custom_target(folivex_tlb DEPENDS ${out}/Folivex.tlb)
    add_library(folivex_idl STATIC ${out}/folivex_i.c ${out}/folivex.h)
    target_include_directories(folivex_idl PUBLIC ${out})
    set(FOLIVEX_TLB_FILE ${out}/Folivex.tlb PARENT_SCOPE)
    set(FOLIVEX_GENERATED_HEADERS ${out}/folivex.h ${out}/folivex_i.c PARENT_SCOPE)
endfunction()
