# Writes SHA256SUMS beside the downloads, in the format `sha256sum -c` reads.
# As CPack's post-build script it lists CPACK_PACKAGE_FILES (still in CPack's
# staging folder) in CPACK_PACKAGE_DIRECTORY, where CPack puts them next; run
# as cmake -DFILES=a;b -P ParvolinChecksums.cmake it lists FILES beside them.
if(DEFINED CPACK_PACKAGE_FILES)
    set(FILES ${CPACK_PACKAGE_FILES})
    set(folder ${CPACK_PACKAGE_DIRECTORY})
else()
    list(GET FILES 0 first)
    get_filename_component(folder ${first} DIRECTORY)
endif()
set(sums "")
foreach(file IN LISTS FILES)
    file(SHA256 ${file} hash)
    get_filename_component(name ${file} NAME)
    string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${folder}/SHA256SUMS "${sums}")
message(STATUS "Checksums written to ${folder}/SHA256SUMS")
