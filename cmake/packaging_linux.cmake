# The Linux program for users: the program, a menu entry and its icon, and a Debian package.
#   cmake --install build/linux --prefix DIR        installs them under DIR
#   cmake --build build/linux --target package      makes build/linux/ketrin-client_<version>_amd64.deb
# The package's dependencies are computed from the program's libraries (dpkg-shlibdeps).
include(GNUInstallDirs)

install(TARGETS ketrin_client RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/linux/ketrin-client.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
foreach(size 16 32)
    install(FILES "${PROJECT_SOURCE_DIR}/src/win32/res/ketrin_client_${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME ketrin-client.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ketrin-client)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Points the online games at the Ketrin servers and tests a login")
set(CPACK_PACKAGE_CONTACT "Ketrin community <client@ketrin.net>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: the window-system plugins, and the opener for the editor and
# the browser.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)

# Makes the package, installs it into a clean Debian 12 root (made once with debootstrap from
# the machine's Debian mirror, kept in the build tree) and starts the program there:
#   cmake --build build/linux --target package_check
# It needs the mirror, so it is a target of its own, not part of the loopback-only test run.
execute_process(COMMAND dpkg --print-architecture
                OUTPUT_VARIABLE debian_architecture OUTPUT_STRIP_TRAILING_WHITESPACE)
add_custom_target(package_check
    COMMAND "${CMAKE_CPACK_COMMAND}" -G DEB --config "${PROJECT_BINARY_DIR}/CPackConfig.cmake"
    COMMAND "${PROJECT_SOURCE_DIR}/tests/qt/package_in_clean_root"
            "${PROJECT_BINARY_DIR}/ketrin-client_${PROJECT_VERSION}_${debian_architecture}.deb"
            "${PROJECT_BINARY_DIR}/clean-debian-root"
    DEPENDS ketrin_client
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
    USES_TERMINAL)
