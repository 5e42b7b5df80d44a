# CTest registration of the control's core tests under Wine, called by tests/wine/CMakeLists.txt
# once per architecture with its bench script and Windows build tree: the test program, and the
# scripts that drive the same members from a script host.
function(folivex_core_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/core/folivex_core_tests.exe)
    # One prefix copy per suite: ReaderVersion rewrites HKLM's Reader key and NoComponent
    # unregisters the component, neither of which may leak into the other suites.
    foreach(suite ReaderVersion Properties Component NoComponent Termination Unsited)
        add_test(NAME wine.${arch}.core.${suite}
            COMMAND ${bench} ${arch} ${program} --gtest_filter=${suite}.*)
        # A normal run takes seconds; a stuck one ends here rather than after 1500 s.
        set_tests_properties(wine.${arch}.core.${suite} PROPERTIES TIMEOUT 180)
    endforeach()

    # Wine's cscript exits 0 after a script error too: the last line tells.
    foreach(script component_errors.vbs viewer_basics.vbs viewer_basics.js)
        set(name wine.${arch}.cscript.${script})
        add_test(NAME ${name}
            COMMAND ${bench} ${arch} cscript //nologo ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${script})
        string(REPLACE "." "\\." pattern "${script}: all checks passed")
        set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "${pattern}")
    endforeach()
    set_tests_properties(wine.${arch}.cscript.component_errors.vbs PROPERTIES
        ENVIRONMENT FOLIVEX_STANDIN_FAIL=1)
endfunction()
