# CTest registration of the multithreaded-apartment caller under Wine, called by
# tests/wine/CMakeLists.txt once per architecture with its bench script and Windows build tree.
function(folivex_mta_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/mta/folivex_mta_tests.exe)
    # The download events come from the loopback HTTP server.
    folivex_add_server_test(NAME wine.${arch}.mta COMMAND ${bench} ${arch} ${program})
    set_tests_properties(wine.${arch}.mta PROPERTIES TIMEOUT 180)
endfunction()
