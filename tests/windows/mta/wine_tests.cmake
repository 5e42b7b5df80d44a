# CTest registration of the multithreaded-apartment caller under Wine, called by
# tests/wine/CMakeLists.txt once per architecture with its bench script and Windows build tree.
function(folivex_mta_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/mta/folivex_mta_tests.exe)
    if(COMMAND folivex_add_server_test)
        # The download events come from the loopback HTTP server.
        folivex_add_server_test(NAME wine.${arch}.mta
            COMMAND ${bench} ${arch} ${program})
    else()
        add_test(NAME wine.${arch}.mta COMMAND ${bench} ${arch} ${program})
    endif()
    set_tests_properties(wine.${arch}.mta PROPERTIES TIMEOUT 180)
endfunction()
