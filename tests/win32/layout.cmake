# The resizable login dialog under Wine: where its panes put the controls, its size limits, its
# status bar and its background erase.
ketrin_add_test(NAME login_layout_tests
    SOURCES
        layout_login_dialog_harness.cpp
        layout_login_dialog_test.cpp
        layout_background_erase_test.cpp
        layout_login_screenshots_test.cpp
        "${client_resources}"
    LIBRARIES ketrin_win32_dialogs ketrin_fake_login
    TIMEOUT 180)

# Once more at 144 dpi, in the prefix the GUI tests use at that dpi.
ketrin_test_command(login_layout_144dpi_command login_layout_tests "")
add_test(NAME login_layout_tests_at_144dpi COMMAND ${login_layout_144dpi_command})
set_tests_properties(login_layout_tests_at_144dpi PROPERTIES
    TIMEOUT 180 ENVIRONMENT "${gui_144dpi_environment}"
    FIXTURES_REQUIRED "gui_144dpi_prefix;display")
