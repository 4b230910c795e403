# The real program under Wine, from end to end, and the release archive as a user unpacks it.

# The end-to-end tests run in a Wine prefix of their own (tests/fixtures/e2e_prefix), in which
# both server-list hosts resolve to 127.0.0.1; they hold the server-list port, 4005, while they
# run. The program rewrites the Unix /etc/hosts, which for the prefix's wineserver and for the
# test's resolver is one copy of e2e_hosts, made afresh for each run.
ketrin_wine_environment(e2e_environment "${CMAKE_BINARY_DIR}/wine-e2e-prefix")
set(e2e_hosts "${CMAKE_CURRENT_BINARY_DIR}/e2e_hosts")

add_test(NAME e2e_hosts_copy
    COMMAND "${CMAKE_COMMAND}" -E copy "${CMAKE_CURRENT_SOURCE_DIR}/e2e_hosts" "${e2e_hosts}")
set_tests_properties(e2e_hosts_copy PROPERTIES FIXTURES_SETUP e2e_hosts TIMEOUT 60)
ketrin_add_wine_prefix_fixture(e2e_prefix
    SCRIPT "${KETRIN_FIXTURES}/e2e_prefix"
    ENVIRONMENT ${e2e_environment} "KETRIN_WINE_ETC_HOSTS=${e2e_hosts}")
set_property(TEST e2e_prefix_start APPEND PROPERTY FIXTURES_REQUIRED e2e_hosts)

ketrin_add_test(NAME e2e_client_tests
    SOURCES e2e_client_test.cpp e2e_windows.cpp
    LIBRARIES ketrin_loopback_server
    HOSTS "${e2e_hosts}"
    TIMEOUT 300)
add_dependencies(e2e_client_tests ketrin_client)
set_tests_properties(e2e_client_tests PROPERTIES
    ENVIRONMENT "${e2e_environment};KETRIN_CLIENT_EXE=$<TARGET_FILE:ketrin_client>"
    FIXTURES_REQUIRED "e2e_prefix;display"
    RESOURCE_LOCK loopback_port_4005)

# The archive is made with CPack as `--target package` makes it, unpacked into the build tree and
# checked; then the unpacked program is started.
set(archive_scratch "${CMAKE_BINARY_DIR}/archive-test")
add_test(NAME archive_holds_the_programs_and_the_readme
    COMMAND "${CMAKE_COMMAND}" "-DCPACK=${CMAKE_CPACK_COMMAND}"
            "-DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake" "-DOBJDUMP=${CMAKE_OBJDUMP}"
            "-DSCRATCH=${archive_scratch}" -P "${CMAKE_CURRENT_SOURCE_DIR}/archive_package.cmake")
set_tests_properties(archive_holds_the_programs_and_the_readme PROPERTIES
    FIXTURES_SETUP archive_unpacked TIMEOUT 300)

ketrin_add_test(NAME archive_start_tests
    SOURCES archive_start_test.cpp e2e_windows.cpp
    TIMEOUT 180)
set_property(TEST archive_start_tests APPEND PROPERTY FIXTURES_REQUIRED archive_unpacked)
set_property(TEST archive_start_tests APPEND PROPERTY ENVIRONMENT
    "KETRIN_ARCHIVE_DIR=${archive_scratch}/unpacked")
