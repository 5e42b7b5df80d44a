# CTest registration of the stand-in component's own tests under Wine, called by
# tests/wine/CMakeLists.txt once per architecture with its bench script and Windows build tree.
function(folivex_standin_wine_tests bench arch tree)
    add_test(NAME wine.${arch}.standin
        COMMAND ${bench} ${arch} ${tree}/tests/windows/standin/folivex_standin_tests.exe)
endfunction()
