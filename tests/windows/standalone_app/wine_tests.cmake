# CTest registration of the stand-alone application's own tests under Wine, called by
# tests/wine/CMakeLists.txt once per architecture with its bench script and Windows build tree.
function(folivex_standalone_app_wine_tests bench arch tree)
    add_test(NAME wine.${arch}.standalone_app
        COMMAND ${bench} ${arch} ${tree}/tests/windows/standalone_app/folivex_standalone_app_tests.exe)
    # A normal run takes 20-30 s (a six-second hang, a dozen app starts); a stuck one ends here
    # rather than after CTest's default of 1500 s.
    set_tests_properties(wine.${arch}.standalone_app PROPERTIES TIMEOUT 300)
endfunction()
