# CTest registration of the deployment tests, included by the Wine tests' CMakeLists.txt of the
# native tree (bench: tools/winebench).
#   deploy.release_archive        the archive holds what INSTALL.md lists, with the tested DLLs
#   samples.csharp                the C# sample compiles and calls what the type library has
#   wine.<arch>.deploy.installer  install, use, upgrade, uninstall the installer
#   wine.<arch>.deploy.registration_free  host programs with manifests, nothing registered
set(deploy_tests ${CMAKE_CURRENT_LIST_DIR})
set(deploy_document ${FOLIVEX_SERVER_DOCUMENTS}/three_pages.pdf)

add_test(NAME deploy.release_archive
    COMMAND ${deploy_tests}/release_archive.sh ${FOLIVEX_DIST_DIR} ${PROJECT_VERSION}
            ${PROJECT_SOURCE_DIR}/deploy/INSTALL.md ${CMAKE_BINARY_DIR}/windows-x86
            ${CMAKE_BINARY_DIR}/windows-x64)
set_tests_properties(deploy.release_archive PROPERTIES
    PASS_REGULAR_EXPRESSION "release_archive\\.sh: done")

find_program(FOLIVEX_MCS mcs)
if(FOLIVEX_MCS)
    add_test(NAME samples.csharp
        COMMAND ${deploy_tests}/csharp_sample.sh ${FOLIVEX_MCS} ${PROJECT_SOURCE_DIR}/samples/csharp
                ${PROJECT_SOURCE_DIR}/interface/folivex.idl ${CMAKE_CURRENT_BINARY_DIR}/csharp)
    set_tests_properties(samples.csharp PROPERTIES PASS_REGULAR_EXPRESSION "csharp_sample\\.sh: done")
else()
    message(WARNING "mcs (Debian package mono-mcs) not found: the C# sample is not compiled")
endif()

foreach(arch x86 x64)
    set(tree ${CMAKE_BINARY_DIR}/windows-${arch})
    set(checks ${tree}/deploy/tests/windows/folivex_deployment_checks.exe)
    folivex_add_server_test(NAME wine.${arch}.deploy.installer
        COMMAND env FOLIVEX_BENCH_UNIX=1 FOLIVEX_BENCH_REGISTER=standin ${bench} ${arch}
                ${deploy_tests}/installer_round_trip.sh ${arch} ${FOLIVEX_DIST_DIR}
                ${CMAKE_BINARY_DIR}/deploy/Folivex-${arch}.wxs
                ${CMAKE_BINARY_DIR}/deploy/Registry-${arch}.idt ${checks} ${deploy_document}
                ${PROJECT_VERSION})
    folivex_add_server_test(NAME wine.${arch}.deploy.registration_free
        COMMAND env FOLIVEX_BENCH_UNIX=1 FOLIVEX_BENCH_REGISTER=standin ${bench} ${arch}
                ${deploy_tests}/registration_free.sh ${arch} ${FOLIVEX_DIST_DIR} ${checks}
                $<TARGET_FILE:folivex_deploy_export> ${deploy_document} ${PROJECT_VERSION})
    set_tests_properties(wine.${arch}.deploy.installer PROPERTIES
        PASS_REGULAR_EXPRESSION "installer_round_trip\\.sh: done" TIMEOUT 300)
    set_tests_properties(wine.${arch}.deploy.registration_free PROPERTIES
        PASS_REGULAR_EXPRESSION "registration_free\\.sh: done" TIMEOUT 300)
endforeach()
