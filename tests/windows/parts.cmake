# The folders of the Windows test programs, one list for the Windows trees that build them
# (tests/windows/CMakeLists.txt) and the native tree that registers their Wine tests
# (tests/wine/CMakeLists.txt). Each folder has a CMakeLists.txt and a wine_tests.cmake defining
# folivex_<folder>_wine_tests(bench arch tree).
set(FOLIVEX_WINDOWS_TEST_PARTS
    container typelib standin standalone_app core opening commands restrictions keyboard mta
    hostile transport)
