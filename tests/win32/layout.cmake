# The resizable login dialog under Wine: where its panes put the controls, its size limits, its
# status bar and its background erase.
ketrin_add_test(NAME login_layout_tests
    SOURCES
        layout_login_dialog_harness.cpp
        layout_login_dialog_test.cpp
        layout_background_erase_test.cpp
        layout_login_screenshots_test.cpp
        "${CMAKE_SOURCE_DIR}/tests/login/fake_login_services.cpp"
        "${CMAKE_SOURCE_DIR}/src/win32/res/ketrin_client.rc"
    LIBRARIES ketrin_win32_dialogs
    TIMEOUT 180)
