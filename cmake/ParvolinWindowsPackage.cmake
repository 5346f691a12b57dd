# The Windows downloads, `make windows-package`: Parvolin-VERSION-win64.zip
# (the program, its licence and a short README, in a folder of their own) and
# Parvolin-VERSION-win64-setup.exe, an installer made with Debian's NSIS, with
# SHA256SUMS beside them. The same commit gives the same bytes: the zip's
# times are the build's SOURCE_DATE_EPOCH and its order fixed, and the
# installer stores no file times.
find_program(MAKENSIS makensis REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(package_name Parvolin-${PARVOLIN_VERSION_TEXT}-win64)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(PARVOLIN_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/${package_name}.zip)
set(PARVOLIN_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/${package_name}-setup.exe)
set(PARVOLIN_WINDOWS_SUMS ${CMAKE_BINARY_DIR}/SHA256SUMS)

# The texts with Windows line ends: older Notepad shows a file with bare line
# feeds as one long line.
configure_file(${PROJECT_SOURCE_DIR}/app/windows/README.txt ${package_dir}/README.txt
    @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${package_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
set(readme ${package_dir}/README.txt)
set(licence ${package_dir}/LICENSE.txt)

add_custom_command(OUTPUT ${PARVOLIN_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_dir}/${package_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}/${package_name}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:parvolin> ${package_dir}/${package_name}/parvolin.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${licence} ${readme} ${package_dir}/${package_name}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/reproducible-zip.py
        ${PARVOLIN_WINDOWS_ZIP} ${package_dir} ${package_name} ${PARVOLIN_SOURCE_DATE_EPOCH}
    DEPENDS parvolin ${readme} ${licence} ${PROJECT_SOURCE_DIR}/scripts/reproducible-zip.py
    COMMENT "Packing ${package_name}.zip"
    VERBATIM)

add_custom_command(OUTPUT ${PARVOLIN_WINDOWS_SETUP}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PARVOLIN_VERSION_TEXT} -DVERSION_NUMBER=${PROJECT_VERSION}
        -DEXE=$<TARGET_FILE:parvolin>
        -DICON=${PROJECT_SOURCE_DIR}/app/icons/parvolin.ico -DLICENSE=${licence} -DREADME=${readme}
        -DOUTFILE=${PARVOLIN_WINDOWS_SETUP} ${PROJECT_SOURCE_DIR}/app/windows/installer.nsi
    DEPENDS parvolin ${PROJECT_SOURCE_DIR}/app/windows/installer.nsi ${readme} ${licence}
    COMMENT "Making ${package_name}-setup.exe"
    VERBATIM)

add_custom_command(OUTPUT ${PARVOLIN_WINDOWS_SUMS}
    COMMAND ${CMAKE_COMMAND} "-DFILES=${PARVOLIN_WINDOWS_ZIP}$<SEMICOLON>${PARVOLIN_WINDOWS_SETUP}"
        -P ${PROJECT_SOURCE_DIR}/cmake/ParvolinChecksums.cmake
    DEPENDS ${PARVOLIN_WINDOWS_ZIP} ${PARVOLIN_WINDOWS_SETUP}
    VERBATIM)

add_custom_target(windows-package ALL DEPENDS ${PARVOLIN_WINDOWS_SUMS})
