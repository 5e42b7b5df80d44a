# CTest registration of the opening tests under Wine, called by tests/wine/CMakeLists.txt once
# per architecture with its bench script and Windows build tree. The download tests run under
# the loopback servers; the benchmark is a target, not a test.
function(folivex_opening_wine_tests bench arch tree)
    set(dir ${tree}/tests/windows/opening)
    set(tests ${dir}/folivex_opening_tests.exe)
    add_test(NAME wine.${arch}.opening.local
        COMMAND ${bench} ${arch} ${tests}
                --gtest_filter=LocalOpening*:DocumentViewWait.*:DocumentViewWake.*:WindowCreationWatch.*:SaveCopyLocal.*)
    set_tests_properties(wine.${arch}.opening.local PROPERTIES TIMEOUT 180)
    folivex_add_server_test(NAME wine.${arch}.opening.download
        COMMAND ${bench} ${arch} ${tests} --gtest_filter=Download.*:FtpDownload.*)
    folivex_add_server_test(NAME wine.${arch}.opening.reentrancy
        COMMAND ${bench} ${arch} ${tests} --gtest_filter=Reentrancy.*)
    folivex_add_server_test(NAME wine.${arch}.opening.edges
        COMMAND ${bench} ${arch} ${tests} --gtest_filter=HeldCopy.*:ReentrantHost.*)
    # The download folder on a full (4 MB) and on a read-only file system of their own runs
    # apart, under the script that mounts them (skipped where none can be mounted).
    set(mounted FaultMatrix.DiskFull*:FaultMatrix.DownloadFolderReadOnly)
    folivex_add_server_test(NAME wine.${arch}.opening.faults
        COMMAND ${bench} ${arch} ${tests} --gtest_filter=FaultMatrix.*:-${mounted})
    folivex_add_server_test(NAME wine.${arch}.opening.faults_on_mounts
        COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/with_small_disk.sh 4 --
                ${bench} ${arch} ${tests} --gtest_filter=${mounted})
    set_tests_properties(wine.${arch}.opening.faults wine.${arch}.opening.faults_on_mounts
        PROPERTIES TIMEOUT 120)
    set_tests_properties(wine.${arch}.opening.faults_on_mounts PROPERTIES SKIP_RETURN_CODE 77)
    folivex_add_server_test(NAME wine.${arch}.cscript.open_outcomes.vbs
        COMMAND ${bench} ${arch} cscript //nologo
                ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/open_outcomes.vbs ${tree}/tests/data)
    set_tests_properties(wine.${arch}.opening.download wine.${arch}.opening.reentrancy
        wine.${arch}.opening.edges wine.${arch}.cscript.open_outcomes.vbs PROPERTIES TIMEOUT 180)
    set_tests_properties(wine.${arch}.cscript.open_outcomes.vbs PROPERTIES
        PASS_REGULAR_EXPRESSION "open_outcomes\\.vbs: done"
        ENVIRONMENT FOLIVEX_STANDIN_LAYOUT=old)

    # cmake --build <native tree> --target bench_opening: both architectures, with curl's
    # figure for the same file first.
    set(run ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/run_bench.sh)
    folivex_add_bench(opening ${arch}
        COMMAND ${FOLIVEX_WITH_SERVERS}
                ${run} ${bench} ${arch} ${dir}/folivex_opening_bench.exe 200)
endfunction()
