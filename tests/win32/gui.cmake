# The dialogs driven through window messages under Wine, and the built program's image.
#
# The GUI tests have a prefix of their own: they rewrite its hosts file and its registry freely,
# while other Windows tests read the shared prefix's. The program under Wine rewrites the Unix
# /etc/hosts; for the prefix's wineserver, which opens the files, and for the test program's
# resolver that is one scratch file, so that Wine's resolver reads what the program writes. They
# run twice: at the prefix's default 96 dpi and, in a second prefix, at 144 dpi (150 %, as many
# laptops are set), where the dialogs must keep their layout.

# ketrin_gui_fixtures(<name> <dpi> <environment-out-var> <mounts-out-var>)
#
# A Wine prefix at <dpi> with its scratch files: the fixtures <name>_prefix and <name>_mounts,
# and the environment and scratch directory of the tests that require them.
function(ketrin_gui_fixtures name dpi environment_out mounts_out)
    set(mounts "${CMAKE_CURRENT_BINARY_DIR}/${name}_mounts")
    ketrin_wine_environment(environment "${CMAKE_BINARY_DIR}/${name}-wineprefix")
    list(APPEND environment "KETRIN_LOG_PIXELS=${dpi}")
    ketrin_add_wine_prefix_fixture(${name}_prefix
        ENVIRONMENT ${environment} "KETRIN_WINE_ETC_HOSTS=${mounts}/hosts")

    add_test(NAME ${name}_mounts_setup COMMAND "${KETRIN_FIXTURES}/gui_mounts" setup "${mounts}")
    add_test(NAME ${name}_mounts_teardown
        COMMAND "${KETRIN_FIXTURES}/gui_mounts" teardown "${mounts}")
    set_tests_properties(${name}_mounts_setup PROPERTIES FIXTURES_SETUP ${name}_mounts TIMEOUT 60)
    set_tests_properties(${name}_mounts_teardown PROPERTIES
        FIXTURES_CLEANUP ${name}_mounts TIMEOUT 60)
    set_property(TEST ${name}_prefix_start APPEND PROPERTY FIXTURES_REQUIRED ${name}_mounts)

    ketrin_wine_path(mounts_windows "${mounts}")
    list(APPEND environment "KETRIN_GUI_DPI=${dpi}" "KETRIN_GUI_MOUNTS=${mounts_windows}")
    set(${environment_out} "${environment}" PARENT_SCOPE)
    set(${mounts_out} "${mounts}" PARENT_SCOPE)
endfunction()

# Runs the GUI test program in the fixtures <name> made.
function(ketrin_gui_test_properties test name environment)
    set_tests_properties(${test} PROPERTIES
        ENVIRONMENT "${environment};KETRIN_CLIENT_EXE=$<TARGET_FILE:ketrin_client>;KETRIN_STAND_IN_NOTEPAD_EXE=$<TARGET_FILE:launcher_stand_in_game>"
        FIXTURES_REQUIRED "${name}_prefix;${name}_mounts;display"
        # The program's server list is always on port 4005; the end-to-end tests use it too.
        RESOURCE_LOCK loopback_port_4005)
endfunction()

ketrin_client_resources(client_resources)
ketrin_gui_fixtures(gui 96 gui_environment gui_mounts)
ketrin_add_test(NAME gui_dialog_tests
    SOURCES
        dialog_driver.cpp
        gui_environment.cpp
        gui_registry.cpp
        gui_main_dialog_test.cpp
        gui_window_menu_test.cpp
        gui_login_dialog_test.cpp
        gui_program_image_test.cpp
        "${client_resources}"
    LIBRARIES ketrin_win32_dialogs ketrin_platform_services ketrin_hosts ketrin_loopback_server
        ketrin_pe_image
    HOSTS "${gui_mounts}/hosts"
    TIMEOUT 300)
target_include_directories(gui_dialog_tests PRIVATE
    "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}/src/win32/res")
add_dependencies(gui_dialog_tests ketrin_client launcher_stand_in_game)
ketrin_gui_test_properties(gui_dialog_tests gui "${gui_environment}")

ketrin_gui_fixtures(gui_144dpi 144 gui_144dpi_environment gui_144dpi_mounts)
ketrin_test_command(gui_144dpi_command gui_dialog_tests "${gui_144dpi_mounts}/hosts")
add_test(NAME gui_dialog_tests_at_144dpi COMMAND ${gui_144dpi_command})
set_tests_properties(gui_dialog_tests_at_144dpi PROPERTIES TIMEOUT 300)
ketrin_gui_test_properties(gui_dialog_tests_at_144dpi gui_144dpi "${gui_144dpi_environment}")

# The main dialog of a user who may not write the hosts file. The helper lies beside the test
# program, as it lies beside the program; a stand-in helper fails.
add_executable(failing_helper_stand_in WIN32 failing_helper_stand_in.cpp)
ketrin_add_test(NAME gui_elevation_tests
    SOURCES
        dialog_driver.cpp
        gui_environment.cpp
        gui_registry.cpp
        limited_token.cpp
        gui_elevation_test.cpp
        "${client_resources}"
    LIBRARIES ketrin_win32_dialogs ketrin_platform_services ketrin_hosts ketrin_loopback_server
    HOSTS "${gui_mounts}/hosts"
    TIMEOUT 300)
target_include_directories(gui_elevation_tests PRIVATE
    "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}/src/win32/res")
set(helper_beside_tests "${CMAKE_CURRENT_BINARY_DIR}/ketrin-hosts-helper.exe")
add_custom_command(OUTPUT "${helper_beside_tests}"
    COMMAND "${CMAKE_COMMAND}" -E copy $<TARGET_FILE:ketrin-hosts-helper> "${helper_beside_tests}"
    DEPENDS ketrin-hosts-helper)
add_custom_target(hosts_helper_beside_tests DEPENDS "${helper_beside_tests}")
add_dependencies(gui_elevation_tests hosts_helper_beside_tests failing_helper_stand_in
    launcher_stand_in_game)
ketrin_gui_test_properties(gui_elevation_tests gui "${gui_environment}")
set_property(TEST gui_elevation_tests APPEND PROPERTY
    ENVIRONMENT "KETRIN_FAILING_HELPER_EXE=$<TARGET_FILE:failing_helper_stand_in>")
