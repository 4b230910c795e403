# The privileged hosts helper of the Linux build and its polkit action: where they are installed
# and what the action is called, written once for the program, the install rules, the package
# check and the tests.
include(GNUInstallDirs)

set(KETRIN_HOSTS_HELPER_DIR "${CMAKE_INSTALL_LIBEXECDIR}/ketrin-client")
set(KETRIN_HOSTS_ACTION_ID net.ketrin.client.update-hosts)
set(KETRIN_HOSTS_POLICY_NAME "${KETRIN_HOSTS_ACTION_ID}.policy")
set(KETRIN_HOSTS_POLICY_TEMPLATE "${PROJECT_SOURCE_DIR}/packaging/linux/hosts_helper.policy.in")
# The program finds the helper from its own directory, wherever both are installed.
file(RELATIVE_PATH KETRIN_HOSTS_HELPER_FROM_PROGRAM "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${KETRIN_HOSTS_HELPER_DIR}/ketrin-hosts-helper")
# pkexec is started by its full path, never looked up in a PATH the caller could choose.
set(KETRIN_PKEXEC /usr/bin/pkexec CACHE FILEPATH "Full path of pkexec, which starts the hosts helper")
