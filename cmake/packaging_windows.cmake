# Packing the programs for users: a zip of the Windows programs (the hosts helper beside the
# program, where the program looks for it) and a short text on them.
#   cmake --build --preset windows --target package
# makes build/windows/ketrin-client-<version>-win64.zip.
# Users open the text in Notepad: it ships with Windows line ends whatever the checkout did.
set(KETRIN_PACKAGE_README "${PROJECT_BINARY_DIR}/packaging/README.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README.txt" "${KETRIN_PACKAGE_README}"
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS ketrin_client ketrin-hosts-helper launcher RUNTIME DESTINATION .)
install(FILES "${KETRIN_PACKAGE_README}" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ketrin-client)
set(CPACK_PACKAGE_FILE_NAME "ketrin-client-${PROJECT_VERSION}-win64")
# Unpacking gives one folder, not three loose files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Users get the programs without their debugging symbols.
set(CPACK_STRIP_FILES ON)
include(CPack)
