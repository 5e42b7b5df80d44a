# The release tree beside the two DLLs that the Windows builds install into FOLIVEX_DIST_DIR:
#   Folivex-<version>-x86.msi, Folivex-<version>-x64.msi   the installers
#   x86/Folivex.manifest, x64/Folivex.manifest             registration-free use
#   INSTALL.md, docs/reference.md, samples/                how to deploy and host it
#   Folivex-<version>.zip                                  all of the above, one archive
# Included from the native tree after the Windows builds are declared; runs after both.

find_program(FOLIVEX_WIXL wixl REQUIRED)
find_program(FOLIVEX_MSIBUILD msibuild REQUIRED)
find_program(FOLIVEX_ZIP zip REQUIRED)

set(FOLIVEX_VERSION ${PROJECT_VERSION})
set(FOLIVEX_DEPLOY_DIR ${CMAKE_BINARY_DIR}/deploy)
set(FOLIVEX_ARCHIVE ${FOLIVEX_DIST_DIR}/Folivex-${FOLIVEX_VERSION}.zip)

# One upgrade code and one component per architecture: both packages can be installed side by
# side (32-bit and 64-bit hosts on one machine), each upgrading only its own earlier versions.
set(upgrade_code_x86 {FA00A666-CD26-4056-A08F-AC775CCD6D28})
set(upgrade_code_x64 {90D1DA05-ADF3-43EE-B08A-A1080F76917B})
set(component_x86 {ACF381F7-C7FB-4D5C-800E-B1B8E6BDFDAB})
set(component_x64 {DBBB43E4-E252-498B-A93D-F3F0DDE2D1DC})

set(export $<TARGET_FILE:folivex_deploy_export>)
set(commands)
set(installers)
foreach(arch x86 x64)
    set(FOLIVEX_MSI_ARCH ${arch})
    set(FOLIVEX_MSI_UPGRADE_CODE ${upgrade_code_${arch}})
    set(FOLIVEX_MSI_COMPONENT_GUID ${component_${arch}})
    if(arch STREQUAL "x64")
        set(FOLIVEX_MSI_PROGRAM_FILES ProgramFiles64Folder)
        set(FOLIVEX_MSI_WIN64 yes)
    else()
        set(FOLIVEX_MSI_PROGRAM_FILES ProgramFilesFolder)
        set(FOLIVEX_MSI_WIN64 no)
    endif()
    set(wxs ${FOLIVEX_DEPLOY_DIR}/Folivex-${arch}.wxs)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/Folivex.wxs.in ${wxs} @ONLY)
    set(table ${FOLIVEX_DEPLOY_DIR}/Registry-${arch}.idt)
    set(msi ${FOLIVEX_DIST_DIR}/Folivex-${FOLIVEX_VERSION}-${arch}.msi)
    list(APPEND installers ${msi})
    list(APPEND commands
        COMMAND ${export} registry-table ${arch} ${table}
        COMMAND ${export} assembly-manifest ${arch} ${FOLIVEX_VERSION}
                ${FOLIVEX_DIST_DIR}/${arch}/Folivex.manifest
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/make_installer.sh ${arch} ${wxs}
                ${FOLIVEX_DIST_DIR}/${arch}/Folivex.dll ${FOLIVEX_VERSION} ${table} ${msi})
endforeach()

# The Windows builds install afresh on every build, so the release tree is made on every build
# too (a second or two); the archive is written whole each time, never updated in place.
add_custom_target(folivex_release ALL
    ${commands}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/deploy/INSTALL.md
            ${FOLIVEX_DIST_DIR}/INSTALL.md
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/reference.md
            ${FOLIVEX_DIST_DIR}/docs/reference.md
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${FOLIVEX_DIST_DIR}/samples
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/samples
            ${FOLIVEX_DIST_DIR}/samples
    COMMAND ${CMAKE_COMMAND} -E rm -f ${FOLIVEX_DIST_DIR}/samples/CMakeLists.txt
            ${FOLIVEX_DIST_DIR}/samples/samples.cmake
    COMMAND ${CMAKE_COMMAND} -E rm -f ${FOLIVEX_ARCHIVE}
    COMMAND ${CMAKE_COMMAND} -E chdir ${FOLIVEX_DIST_DIR}
            ${FOLIVEX_ZIP} -q -X -r ${FOLIVEX_ARCHIVE}
            Folivex-${FOLIVEX_VERSION}-x86.msi Folivex-${FOLIVEX_VERSION}-x64.msi
            x86 x64 Folivex.tlb include INSTALL.md docs samples
    BYPRODUCTS ${installers} ${FOLIVEX_ARCHIVE}
    COMMENT "Release tree: installers, manifests and archive in ${FOLIVEX_DIST_DIR}"
    VERBATIM)
add_dependencies(folivex_release windows-x86 windows-x64 folivex_deploy_export)
