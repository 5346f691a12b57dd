# The Debian package: `make package`. Its run-time dependencies come from
# dpkg-shlibdeps, not from a hand-written list, plus the Qt platform plugins,
# which Qt loads at run time and dpkg-shlibdeps therefore cannot see.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME parvolin)
set(CPACK_PACKAGE_VERSION ${PARVOLIN_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR "The Parvolin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Body mass index calculator")
set(CPACK_PACKAGE_DESCRIPTION "Parvolin computes a body mass index from a weight and a height, in\nimperial or metric units, and names the weight category it falls into.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Parvolin developers <maintainers@parvolin.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://parvolin.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Without a platform plugin the program cannot open its window. Debian 12
# ships the xcb plugin in libqt6gui6 (found by dpkg-shlibdeps), other Qt 6
# builds (Ubuntu's) in qt6-qpa-plugins; an install without recommends must
# still get it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# GNOME hands its font and its scaling to Qt only through the GTK platform
# theme; without it the window keeps Qt's own 9-point font there. Qt's
# Wayland plugin lets the window open where only a Wayland display answers.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")

# The manual page, installed by `cmake --install` as well, compressed as
# Debian's policy asks (no name or time in the gzip header).
set(PARVOLIN_MANPAGE ${CMAKE_BINARY_DIR}/app/parvolin.1.gz)
add_custom_command(OUTPUT ${PARVOLIN_MANPAGE}
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/app/parvolin.1
        ${PARVOLIN_MANPAGE}
    DEPENDS ${PROJECT_SOURCE_DIR}/app/parvolin.1
    COMMENT "Compressing the manual page"
    VERBATIM)
add_custom_target(parvolin_manpage ALL DEPENDS ${PARVOLIN_MANPAGE})
include(GNUInstallDirs)
install(FILES ${PARVOLIN_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A stripped install (the package's) strips the program as Debian's dh_strip
# does: also the compilers' version strings, which only take room.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/parvolin\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()")

# Only the package has a Debian changelog and lintian overrides: a component
# that `cmake --install` leaves out and CPack installs after the rest.
set(PARVOLIN_DEBIAN_CHANGELOG ${CMAKE_BINARY_DIR}/app/changelog.Debian.gz)
add_custom_command(OUTPUT ${PARVOLIN_DEBIAN_CHANGELOG}
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/app/debian/changelog
        ${PARVOLIN_DEBIAN_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/app/debian/changelog
    COMMENT "Compressing the Debian changelog"
    VERBATIM)
add_custom_target(parvolin_debian_changelog ALL DEPENDS ${PARVOLIN_DEBIAN_CHANGELOG})
install(FILES ${PARVOLIN_DEBIAN_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/parvolin
    COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/app/debian/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME parvolin
    COMPONENT debian EXCLUDE_FROM_ALL)
set(CPACK_INSTALL_CMAKE_PROJECTS
    ${CMAKE_BINARY_DIR} ${PROJECT_NAME} ALL /
    ${CMAKE_BINARY_DIR} ${PROJECT_NAME} debian /)
# The same bytes at every build: CPack takes file and archive times from
# SOURCE_DATE_EPOCH, which `cmake --build --target package` does not pass on.
set(PARVOLIN_CPACK_CONFIG ${CMAKE_BINARY_DIR}/ParvolinCPackOptions.cmake)
file(WRITE ${PARVOLIN_CPACK_CONFIG} "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n"
    "    set(ENV{SOURCE_DATE_EPOCH} ${PARVOLIN_SOURCE_DATE_EPOCH})\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${PARVOLIN_CPACK_CONFIG})
# Folders in the package get the same modes under any umask, and so do the
# package's own archive members; then SHA256SUMS beside the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/ParvolinDebNormalize.cmake
    ${PROJECT_SOURCE_DIR}/cmake/ParvolinChecksums.cmake)
include(CPack)
