# CTest registration of the keyboard tests under Wine, called by tests/wine/CMakeLists.txt once
# per architecture. Each entry runs in its own prefix copy; those that type keys, move the focus
# or use the clipboard take the desktop's keyboard lock.
function(folivex_keyboard_wine_tests bench arch tree)
    set(program ${tree}/tests/windows/keyboard/folivex_keyboard_tests.exe)
    foreach(group Form Atl Text QuickActivate)
        if(group STREQUAL "Form")
            set(filter "Modes/FormKeyboard.*")
        elseif(group STREQUAL "Atl")
            set(filter "Modes/AtlKeyboard.*")
        elseif(group STREQUAL "Text")
            set(filter "Modes/TextMembers.*")
        else()
            set(filter "Sizes/QuickActivate.*:QuickActivateRefusal.*")
        endif()
        add_test(NAME wine.${arch}.keyboard.${group}
            COMMAND ${bench} ${arch} ${program} --gtest_filter=${filter})
        set_tests_properties(wine.${arch}.keyboard.${group} PROPERTIES TIMEOUT 180)
        if(NOT group STREQUAL "QuickActivate")
            set_tests_properties(wine.${arch}.keyboard.${group} PROPERTIES
                RESOURCE_LOCK folivex_desktop_keyboard)
        endif()
    endforeach()
endfunction()
