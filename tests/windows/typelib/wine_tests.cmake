# CTest registration of the type-library test under Wine, on the DLL's embedded library; called by
# tests/wine/CMakeLists.txt once per architecture with its bench script and Windows build tree.
function(folivex_typelib_wine_tests bench arch tree)
    add_test(NAME wine.${arch}.typelib
        COMMAND ${bench} ${arch} ${tree}/tests/windows/typelib/folivex_typelib_test.exe
                ${tree}/interface/Folivex.dll)
endfunction()
