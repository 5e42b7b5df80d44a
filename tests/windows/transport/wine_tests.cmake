# CTest registration of the transport check under Wine, on the loopback servers; called by
# tests/wine/CMakeLists.txt once per architecture.
function(folivex_transport_wine_tests bench arch tree)
    set(name wine.${arch}.transport.urlmon)
    folivex_add_server_test(NAME ${name}
        COMMAND ${bench} ${arch} ${tree}/tests/windows/transport/folivex_url_download_test.exe)
    set_tests_properties(${name} PROPERTIES
        PASS_REGULAR_EXPRESSION "url_download_test: passed"
        TIMEOUT 240)
endfunction()
