# The Linux program for users: the program, its privileged hosts helper and polkit action, a menu
# entry and its icon, a manual page, and a Debian package.
#   cmake --install build/linux --prefix DIR        installs them under DIR
#   cmake --build build/linux --target package      makes build/linux/ketrin-client_<version>_amd64.deb
# The package's dependencies are computed from the program's libraries (dpkg-shlibdeps).
# polkit reads actions only from /usr/share/polkit-1/actions: the prompt names the helper's own
# action when the prefix is /usr (as in the package); elsewhere pkexec asks with its generic one.
include(GNUInstallDirs)
set(linux_packaging "${PROJECT_SOURCE_DIR}/packaging/linux")
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/ketrin-client")

install(TARGETS ketrin_client RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(TARGETS ketrin-hosts-helper RUNTIME DESTINATION "${KETRIN_HOSTS_HELPER_DIR}")
# The action names the helper by its installed path, known only when installing.
set(installed_policy "${PROJECT_BINARY_DIR}/installed-policy/${KETRIN_HOSTS_POLICY_NAME}")
install(CODE "
    set(KETRIN_HOSTS_ACTION_ID ${KETRIN_HOSTS_ACTION_ID})
    set(KETRIN_HOSTS_HELPER \"\${CMAKE_INSTALL_PREFIX}/${KETRIN_HOSTS_HELPER_DIR}/ketrin-hosts-helper\")
    configure_file(\"${KETRIN_HOSTS_POLICY_TEMPLATE}\" \"${installed_policy}\" @ONLY)")
install(FILES "${installed_policy}" DESTINATION "${CMAKE_INSTALL_DATADIR}/polkit-1/actions")

# Debian keeps manual pages and the changelog compressed, without a time stamp.
foreach(page ketrin_client.1 changelog)
    add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/${page}.gz"
        COMMAND gzip -9n -c "${linux_packaging}/${page}" > "${PROJECT_BINARY_DIR}/${page}.gz"
        DEPENDS "${linux_packaging}/${page}")
endforeach()
add_custom_target(compressed_documents ALL
    DEPENDS "${PROJECT_BINARY_DIR}/ketrin_client.1.gz" "${PROJECT_BINARY_DIR}/changelog.gz")
install(FILES "${PROJECT_BINARY_DIR}/ketrin_client.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_BINARY_DIR}/changelog.gz" "${linux_packaging}/copyright"
        DESTINATION "${doc_dir}")
install(FILES "${linux_packaging}/ketrin-client.desktop"
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
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Ketrin Client helps players of the classic games of the WOL online service,
run under Wine, play on the Ketrin community's servers. It shows where the
service's host names resolve, points them at the community's server by
rewriting /etc/hosts (or takes those lines out again), tests a login with an
account the games stored in the Wine prefix's registry, and opens the
community's ladders page.
.
A user who may not write /etc/hosts is asked for an administrator's password
by the desktop's own polkit prompt; a small helper then does that one rewrite.")
set(CPACK_PACKAGE_CONTACT "Ketrin community <client@ketrin.net>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: the window-system plugins; the opener for the editor and the
# browser, and the desktop's authorisation for users who may not write /etc/hosts (without them
# the program works, but such a user can only be told that the rewrite failed).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, pkexec, polkitd")
include(CPack)

# Makes the package, checks it with lintian, installs it into a clean Debian 12 root (made once
# with debootstrap from the machine's Debian mirror, kept in the build tree), checks the helper
# and its polkit action there and starts the program:
#   cmake --build build/linux --target package_check
# It needs the mirror, so it is a target of its own, not part of the loopback-only test run.
execute_process(COMMAND dpkg --print-architecture
                OUTPUT_VARIABLE debian_architecture OUTPUT_STRIP_TRAILING_WHITESPACE)
add_custom_target(package_check
    COMMAND "${CMAKE_CPACK_COMMAND}" -G DEB --config "${PROJECT_BINARY_DIR}/CPackConfig.cmake"
    COMMAND "${PROJECT_SOURCE_DIR}/tests/qt/package_in_clean_root"
            "${PROJECT_BINARY_DIR}/ketrin-client_${PROJECT_VERSION}_${debian_architecture}.deb"
            "${PROJECT_BINARY_DIR}/clean-debian-root" "${KETRIN_HOSTS_ACTION_ID}"
    DEPENDS ketrin_client ketrin-hosts-helper compressed_documents
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
    USES_TERMINAL)
