# The loopback HTTP and FTP servers that download tests run under, their self-test, and
#   folivex_add_server_test(NAME <name> COMMAND <command> [<arg>...] [WORKING_DIRECTORY <dir>])
# which registers <command> to run with the servers up, FOLIVEX_TEST_HTTP_URL and
# FOLIVEX_TEST_FTP_URL in its environment. Each run picks its own ports, so these tests need no
# resource lock and can run side by side.
set(FOLIVEX_SERVERS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(FOLIVEX_SERVERS_WRAPPER ${FOLIVEX_SERVERS_DIR}/with_loopback_servers.sh)

# The servers need pyftpdlib, which Debian's own interpreter has and a virtual environment may
# not.
set(FOLIVEX_SERVER_PYTHON /usr/bin/python3 CACHE FILEPATH
    "Python interpreter with pyftpdlib for the loopback servers")

# The documents served. The native tree does not generate the test documents itself (the Windows
# sub-builds do, in their own trees), so unless this tree already has them they are written
# here, at configure time: the tests can then run without a build.
get_property(FOLIVEX_SERVER_DOCUMENTS GLOBAL PROPERTY FOLIVEX_TEST_DATA_DIR)
if(NOT FOLIVEX_SERVER_DOCUMENTS)
    set(FOLIVEX_SERVER_DOCUMENTS ${CMAKE_CURRENT_BINARY_DIR}/documents)
    set(generator ${PROJECT_SOURCE_DIR}/tests/data/make_test_documents.py)
    execute_process(
        COMMAND ${FOLIVEX_SERVER_PYTHON} ${generator} ${FOLIVEX_SERVER_DOCUMENTS}
        RESULT_VARIABLE generated
        ERROR_VARIABLE generator_errors)
    if(NOT generated EQUAL 0)
        message(FATAL_ERROR "Generating the served test documents failed: ${generator_errors}")
    endif()
    # A changed generator means changed documents: configure again.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${generator}
        ${PROJECT_SOURCE_DIR}/tools/minimal_pdf.py)
    unset(generator)
    unset(generated)
    unset(generator_errors)
endif()

# A command prefix that runs what follows it with the servers up (for benchmark targets; tests
# use folivex_add_server_test). Through env rather than the ENVIRONMENT property, which callers
# may set for themselves.
set(FOLIVEX_WITH_SERVERS env FOLIVEX_SERVER_PYTHON=${FOLIVEX_SERVER_PYTHON}
    ${FOLIVEX_SERVERS_WRAPPER} ${FOLIVEX_SERVER_DOCUMENTS} --)

function(folivex_add_server_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;WORKING_DIRECTORY" "COMMAND")
    if(NOT arg_NAME OR NOT arg_COMMAND)
        message(FATAL_ERROR "folivex_add_server_test: NAME and COMMAND are required")
    endif()
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR
            "folivex_add_server_test: unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
    endif()
    set(working_directory)
    if(arg_WORKING_DIRECTORY)
        set(working_directory WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
    endif()
    add_test(NAME ${arg_NAME} COMMAND ${FOLIVEX_WITH_SERVERS} ${arg_COMMAND} ${working_directory})
endfunction()

folivex_add_server_test(NAME servers.selftest
    COMMAND ${FOLIVEX_SERVERS_DIR}/selftest.sh routes ${FOLIVEX_SERVER_DOCUMENTS})
add_test(NAME servers.wrapper
    COMMAND env FOLIVEX_SERVER_PYTHON=${FOLIVEX_SERVER_PYTHON}
            ${FOLIVEX_SERVERS_DIR}/selftest.sh wrapper ${FOLIVEX_SERVER_DOCUMENTS})
set_tests_properties(servers.selftest servers.wrapper PROPERTIES TIMEOUT 120)

# A Windows program under Wine reaches the servers through urlmon, as the control does.
foreach(arch x86 x64)
    folivex_add_server_test(NAME wine.${arch}.loopback_fetch
        COMMAND ${PROJECT_SOURCE_DIR}/tools/winebench ${arch}
                cscript //nologo ${FOLIVEX_SERVERS_DIR}/fetch_routes.js)
    set_tests_properties(wine.${arch}.loopback_fetch PROPERTIES
        PASS_REGULAR_EXPRESSION "fetch_routes\\.js: all checks passed")
endforeach()
