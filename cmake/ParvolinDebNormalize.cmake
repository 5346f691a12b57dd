# CPack's post-build step for the Debian package: the ar container's member
# modes follow the builder's umask (a .deb made under umask 002 differs from
# one made under 022); strip-nondeterminism sets them to 644, as dpkg-deb
# writes them. CPack already takes the members' times from SOURCE_DATE_EPOCH.
find_program(STRIP_NONDETERMINISM strip-nondeterminism)
if(NOT STRIP_NONDETERMINISM)
    message(FATAL_ERROR "The Debian package needs strip-nondeterminism (scripts/install-deps.sh installs it).")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND ${STRIP_NONDETERMINISM} --normalizers +ar --type ar
        --timestamp $ENV{SOURCE_DATE_EPOCH} ${package} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
