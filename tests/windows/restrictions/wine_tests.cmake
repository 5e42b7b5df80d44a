# CTest registration of the restriction tests under Wine, called by tests/wine/CMakeLists.txt once
# per architecture with its bench script and Windows build tree.
function(folivex_restrictions_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/restrictions/folivex_restrictions_tests.exe)
    # One entry per group: each gets a prefix (and so a desktop) of its own.
    set(groups
        save_keys "SaveKeys*:EitherOrder/TwoControls.*"
        dialogs "DialogSuppression*:DialogCreationHook.*"
        close_windows "CloseViewerWindows.*")
    while(groups)
        list(POP_FRONT groups name filter)
        add_test(NAME wine.${arch}.restrictions.${name}
            COMMAND ${bench} ${arch} ${program} --gtest_filter=${filter})
        # Normal runs take seconds (close_windows waits out one 5 s message timeout).
        set_tests_properties(wine.${arch}.restrictions.${name} PROPERTIES TIMEOUT 180)
    endwhile()
    # SendInput and the foreground window: keep these apart from other tests that type.
    set_tests_properties(wine.${arch}.restrictions.save_keys wine.${arch}.restrictions.dialogs
        PROPERTIES RESOURCE_LOCK folivex_desktop_keyboard)

    # The benchmark, by hand: cmake --build <native tree> --target bench_restrictions
    set(bench_program ${tree}/tests/windows/restrictions/folivex_restrictions_bench.exe)
    folivex_add_bench(restrictions ${arch}
        COMMAND ${bench} ${arch} ${bench_program} --dialogs 200 --keys 500 --rounds 5
        COMMENT "Restrictions benchmark under Wine ${arch}")
endfunction()
