# CTest registration of the tests that drive an open document under Wine, called by
# tests/wine/CMakeLists.txt once per architecture with its bench script and Windows build tree.
function(folivex_commands_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/commands/folivex_commands_tests.exe)
    # One prefix copy per group, so the groups can run side by side; the keyboard and clipboard
    # ones take the desktop's keyboard lock.
    foreach(group Wrappers Toolbar Readouts Text)
        if(group STREQUAL "Text")
            set(filter "Layouts/Text.*:TextWithoutActiveHost.*")
        else()
            set(filter "Layouts/${group}.*")
        endif()
        add_test(NAME wine.${arch}.commands.${group}
            COMMAND ${bench} ${arch} ${program} --gtest_filter=${filter})
        # A normal run takes seconds; a stuck one ends here rather than after 1500 s.
        set_tests_properties(wine.${arch}.commands.${group} PROPERTIES TIMEOUT 180)
    endforeach()
    set_tests_properties(wine.${arch}.commands.Text PROPERTIES
        RESOURCE_LOCK folivex_desktop_keyboard)
    # Windows of the component's tree owned by another thread, answering and hung.
    add_test(NAME wine.${arch}.commands.ForeignThread
        COMMAND ${bench} ${arch} ${program} --gtest_filter=ForeignThread.*)
    set_tests_properties(wine.${arch}.commands.ForeignThread PROPERTIES TIMEOUT 180)

    # A whole session from a script host. Wine's cscript exits 0 after a script error, so the
    # entry passes only on the script's last line, and fails on any check it reports.
    set(name wine.${arch}.cscript.commands.session.vbs)
    add_test(NAME ${name}
        COMMAND ${bench} ${arch} cscript //nologo
                ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/session.vbs
                ${tree}/tests/data/three_pages.pdf)
    set_tests_properties(${name} PROPERTIES
        PASS_REGULAR_EXPRESSION "session.vbs: done"
        FAIL_REGULAR_EXPRESSION "FAILED"
        ENVIRONMENT "FOLIVEX_STANDIN_LAYOUT=old"
        RESOURCE_LOCK folivex_desktop_keyboard
        TIMEOUT 120)
endfunction()
