# The Windows downloads, `make windows-package`: Parvolin-VERSION-win64.zip
# (the program, its licence and a short README, in a folder of their own) and
# Parvolin-VERSION-win64-setup.exe, an installer made with Debian's NSIS.
find_program(MAKENSIS makensis REQUIRED)
set(package_name Parvolin-${PARVOLIN_VERSION_TEXT}-win64)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(PARVOLIN_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/${package_name}.zip)
set(PARVOLIN_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/${package_name}-setup.exe)
set(readme ${PROJECT_SOURCE_DIR}/app/windows/README.txt)
set(licence ${PROJECT_SOURCE_DIR}/LICENSE)

add_custom_command(OUTPUT ${PARVOLIN_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_dir}/${package_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}/${package_name}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:parvolin> ${package_dir}/${package_name}/parvolin.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${licence} ${package_dir}/${package_name}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${readme} ${package_dir}/${package_name}/README.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir}
        ${CMAKE_COMMAND} -E tar cf ${PARVOLIN_WINDOWS_ZIP} --format=zip ${package_name}
    DEPENDS parvolin ${readme} ${licence}
    COMMENT "Packing ${package_name}.zip"
    VERBATIM)

add_custom_command(OUTPUT ${PARVOLIN_WINDOWS_SETUP}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PARVOLIN_VERSION_TEXT} -DEXE=$<TARGET_FILE:parvolin>
        -DICON=${PROJECT_SOURCE_DIR}/app/icons/parvolin.ico -DLICENSE=${licence} -DREADME=${readme}
        -DOUTFILE=${PARVOLIN_WINDOWS_SETUP} ${PROJECT_SOURCE_DIR}/app/windows/installer.nsi
    DEPENDS parvolin ${PROJECT_SOURCE_DIR}/app/windows/installer.nsi ${readme} ${licence}
    COMMENT "Making ${package_name}-setup.exe"
    VERBATIM)

add_custom_target(windows-package ALL DEPENDS ${PARVOLIN_WINDOWS_ZIP} ${PARVOLIN_WINDOWS_SETUP})
