# Flags for the downloads: the same bytes from the same commit, wherever and
# whenever it is built, and on Linux the hardening Debian's own packages get.
# A project that adds Parvolin as a subdirectory keeps its own flags.
if(NOT PROJECT_IS_TOP_LEVEL)
    return()
endif()

# The one time stamp every artefact carries (see the script).
execute_process(COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/source-date-epoch.sh
    OUTPUT_VARIABLE PARVOLIN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT PARVOLIN_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No build time (\"${PARVOLIN_SOURCE_DATE_EPOCH}\"): set SOURCE_DATE_EPOCH "
        "to seconds since 1970, or build from a git clone or a tarball made by make dist.")
endif()
# The tools the build runs read it from the environment: Qt's resource
# compiler stores it as the resources' time (else the files' own times, which
# differ in every clone). So every custom command (rcc among them) runs with
# it; CPack gets it in ParvolinPackage.cmake. A new commit needs a new
# configure, which `make` always does.
get_property(launcher GLOBAL PROPERTY RULE_LAUNCH_CUSTOM)
if(NOT launcher)
    set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
        "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${PARVOLIN_SOURCE_DATE_EPOCH}")
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    # No folder of the build machine in a binary: sources are named from the
    # top of the tree, as they are in git.
    string(APPEND CMAKE_CXX_FLAGS " -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=")
endif()

# Debian's hardening (dpkg-buildflags with hardening=+all), for the builds
# people run; the sanitizer builds keep their own flags.
option(PARVOLIN_HARDENING "Build with Debian's hardening flags" OFF)
if(PARVOLIN_HARDENING AND NOT WIN32)
    find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
    # Only the hardening: the build type chooses -O and -g, and the source
    # folder's mapping is set above.
    set(buildflags_env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
        "DEB_CXXFLAGS_MAINT_STRIP=-g -O2")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${buildflags_env} ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    # dpkg 1.22 adds these two to hardening=+all on amd64 (its "stackclash"
    # and "branch" features); Debian 12's dpkg predates them.
    foreach(flag -fstack-clash-protection -fcf-protection)
        if(NOT flags_CXXFLAGS MATCHES "${flag}")
            string(APPEND flags_CXXFLAGS " ${flag}")
        endif()
    endforeach()
    string(APPEND CMAKE_CXX_FLAGS " ${flags_CPPFLAGS} ${flags_CXXFLAGS}")
    string(APPEND CMAKE_EXE_LINKER_FLAGS " ${flags_LDFLAGS}")
    string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${flags_LDFLAGS}")
    # Position-independent executables, whatever the compiler's default.
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
endif()
