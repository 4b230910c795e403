# The dialogs driven through window messages under Wine, and the built program's image.
#
# The GUI tests have a prefix of their own: they rewrite its hosts file and its registry freely,
# while other Windows tests read the shared prefix's. The program under Wine rewrites the Unix
# /etc/hosts; for the prefix's wineserver, which opens the files, and for the test program's
# resolver that is one scratch file, so that Wine's resolver reads what the program writes.
set(gui_wineprefix "${CMAKE_BINARY_DIR}/gui-wineprefix")
set(gui_mounts "${CMAKE_CURRENT_BINARY_DIR}/gui_mounts")
ketrin_wine_environment(gui_environment "${gui_wineprefix}")

ketrin_add_wine_prefix_fixture(gui_prefix
    ENVIRONMENT ${gui_environment} "KETRIN_WINE_ETC_HOSTS=${gui_mounts}/hosts")

add_test(NAME gui_mounts_setup COMMAND "${KETRIN_FIXTURES}/gui_mounts" setup "${gui_mounts}")
add_test(NAME gui_mounts_teardown
    COMMAND "${KETRIN_FIXTURES}/gui_mounts" teardown "${gui_mounts}")
set_tests_properties(gui_mounts_setup PROPERTIES FIXTURES_SETUP gui_mounts TIMEOUT 60)
set_tests_properties(gui_mounts_teardown PROPERTIES FIXTURES_CLEANUP gui_mounts TIMEOUT 60)
set_property(TEST gui_prefix_start APPEND PROPERTY FIXTURES_REQUIRED gui_mounts)

ketrin_add_test(NAME gui_dialog_tests
    SOURCES
        dialog_driver.cpp
        gui_environment.cpp
        gui_registry.cpp
        gui_main_dialog_test.cpp
        gui_login_dialog_test.cpp
        gui_program_image_test.cpp
        "${CMAKE_SOURCE_DIR}/src/win32/res/ketrin_client.rc"
    LIBRARIES ketrin_win32_dialogs ketrin_platform_services ketrin_hosts ketrin_loopback_server
        ketrin_pe_image
    HOSTS "${gui_mounts}/hosts"
    TIMEOUT 300)
target_include_directories(gui_dialog_tests PRIVATE
    "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}/src/win32/res")
add_dependencies(gui_dialog_tests ketrin_client)

string(REPLACE "/" "\\" gui_mounts_windows "Z:${gui_mounts}")
set_tests_properties(gui_dialog_tests PROPERTIES
    ENVIRONMENT "${gui_environment};KETRIN_GUI_MOUNTS=${gui_mounts_windows};KETRIN_CLIENT_EXE=$<TARGET_FILE:ketrin_client>"
    FIXTURES_REQUIRED "gui_prefix;gui_mounts;display"
    # The program's server list is always on port 4005; the end-to-end tests use it too.
    RESOURCE_LOCK loopback_port_4005)
