# CTest entries that run each VBScript sample under Wine, as the sample stands in the folder:
#   tools/winebench <arch> cscript //nologo <sample> <document>
# for x86 and x64. Included from the Wine tests' CMakeLists.txt of the native tree.
#
# The samples take the generated test documents as their argument: the ones the loopback servers
# serve (tests/wine/servers/servers.cmake, included before this file). The Wine prefixes have no
# viewer installation key in the registry, so a new control reads ReaderVersion 0 and expects the
# old toolbar layout; the stand-in component is told to draw that layout.

set(folivex_samples_bench ${PROJECT_SOURCE_DIR}/tools/winebench)
set(folivex_samples_dir ${CMAKE_CURRENT_LIST_DIR}/vbscript)
set(folivex_samples_document ${FOLIVEX_SERVER_DOCUMENTS}/three_pages.pdf)

foreach(arch x86 x64)
    foreach(sample open_and_read events save_copy restrictions)
        set(name wine.${arch}.samples.${sample}.vbs)
        add_test(NAME ${name}
            COMMAND ${folivex_samples_bench} ${arch} cscript //nologo
                    ${folivex_samples_dir}/${sample}.vbs ${folivex_samples_document})
        # Wine's cscript exits 0 after a script error too: the last line tells.
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "FOLIVEX_STANDIN_LAYOUT=old"
            PASS_REGULAR_EXPRESSION "${sample}\\.vbs: done"
            TIMEOUT 180)
    endforeach()
endforeach()

# events.vbs once more on a real download: the document fetched from the loopback HTTP server.
# The address is known only when the servers are up, so a shell puts it on the command line.
foreach(arch x86 x64)
    set(name wine.${arch}.samples.events.vbs.http)
    folivex_add_server_test(NAME ${name}
        COMMAND sh -c "exec \"$0\" ${arch} cscript //nologo \"$1\" \"\${FOLIVEX_TEST_HTTP_URL}three_pages.pdf\""
                ${folivex_samples_bench} ${folivex_samples_dir}/events.vbs)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "FOLIVEX_STANDIN_LAYOUT=old"
        PASS_REGULAR_EXPRESSION "events\\.vbs: done"
        TIMEOUT 180)
endforeach()
