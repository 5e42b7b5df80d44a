# CTest registration of the hostile-caller tests under Wine, called by tests/wine/CMakeLists.txt
# once per architecture; and the long dispatch fuzz run as a benchmark.
function(folivex_hostile_wine_tests bench arch tree)
    set(fuzzer ${tree}/tests/windows/hostile/folivex_dispatch_fuzz.exe)
    add_test(NAME wine.${arch}.hostile.dispatch_fuzz
        COMMAND ${bench} ${arch} ${fuzzer} --seed 14 --calls 1500)
    set_tests_properties(wine.${arch}.hostile.dispatch_fuzz PROPERTIES TIMEOUT 300)
    folivex_add_bench(dispatch_fuzz ${arch}
        COMMAND ${bench} ${arch} ${fuzzer} --seed 20261208 --calls 50000)
    folivex_add_bench(soak ${arch}
        COMMAND ${FOLIVEX_WITH_SERVERS}
                ${bench} ${arch} ${tree}/tests/windows/hostile/folivex_soak_bench.exe 1000)
endfunction()
