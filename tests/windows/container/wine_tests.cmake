# CTest registration of the container tests under Wine, called by tests/wine/CMakeLists.txt once
# per architecture with its bench script and Windows build tree.
function(folivex_container_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/container/folivex_container_tests.exe)
    foreach(suite HostedViewer UnsitedViewer AtlContainer Lifetime Version
                  Registration.Regsvr32RoundTrip
                  Registration.PerUserInstallWritesNothingMachineWide
                  Registration.WritesTheControlsOwnIdentifiersAndStatus)
        string(REPLACE "Registration." "" name ${suite})
        if(suite STREQUAL "Lifetime")
            # The GDI/USER check is an entry of its own (below), so that it can be skipped.
            set(filter "Lifetime.*:-Lifetime.HostedControlsLeakNoGdiOrUserObjects")
        elseif(NOT suite MATCHES "\\.")
            set(filter "${suite}.*")
        else()
            set(filter "${suite}")
        endif()
        add_test(NAME wine.${arch}.container.${name}
            COMMAND ${bench} ${arch} ${program} --gtest_filter=${filter})
    endforeach()
    set_tests_properties(wine.${arch}.container.HostedViewer wine.${arch}.container.AtlContainer
        PROPERTIES TIMEOUT 300)
    # Wine reports no GDI or USER object counts: CTest then shows this check as skipped, not
    # passed.
    add_test(NAME wine.${arch}.container.LifetimeGdiUser
        COMMAND ${bench} ${arch} ${program}
                --gtest_filter=Lifetime.HostedControlsLeakNoGdiOrUserObjects)
    set_tests_properties(wine.${arch}.container.LifetimeGdiUser PROPERTIES
        SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\] Lifetime\\.")
endfunction()
