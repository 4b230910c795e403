# ketrin_add_test(NAME <name> SOURCES <file>... [LIBRARIES <lib>...] [HOSTS <file>]
#                 [TIMEOUT <seconds>] [ARGS <arg>...])
#
# Builds one GoogleTest program and registers it with CTest once. Every test runs inside
# tests/fixtures/isolated (loopback only, /etc/hosts of its own; HOSTS names that file). In the
# Windows build the program runs under Wine in the build tree's throwaway prefix.
set(KETRIN_FIXTURES "${CMAKE_SOURCE_DIR}/tests/fixtures")
set(KETRIN_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
# A display of this build tree's own, so that build trees tested side by side do not meet.
string(MD5 build_tree_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${build_tree_hash}" 0 2 build_tree_hash)
math(EXPR KETRIN_TEST_DISPLAY "0x${build_tree_hash} % 100 + 100")

# ketrin_wine_environment(<out-var> <prefix-dir>)
#
# The environment a Windows test program runs in under Wine, in the prefix <prefix-dir>: quiet,
# without the .NET and HTML installers, on this build tree's display.
function(ketrin_wine_environment out prefix)
    set(${out}
        "WINEPREFIX=${prefix}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
        "DISPLAY=:${KETRIN_TEST_DISPLAY}" PARENT_SCOPE)
endfunction()
ketrin_wine_environment(KETRIN_WINE_ENVIRONMENT "${KETRIN_WINEPREFIX}")

# ketrin_wine_path(<out-var> <unix-path>)
#
# The path a program under Wine opens <unix-path> at: Wine shows the Unix root as drive Z:.
function(ketrin_wine_path out unix_path)
    string(REPLACE "/" "\\" windows_path "Z:${unix_path}")
    set(${out} "${windows_path}" PARENT_SCOPE)
endfunction()

# ketrin_test_command(<out-var> <target> <hosts-file or "">)
#
# The command that runs the test program <target> inside tests/fixtures/isolated, under Wine in
# the Windows build.
function(ketrin_test_command out target hosts)
    set(isolation "${KETRIN_FIXTURES}/isolated")
    if(hosts)
        list(APPEND isolation --hosts "${hosts}")
    endif()
    if(WIN32)
        set(${out} ${isolation} -- "${KETRIN_FIXTURES}/wine_run" $<TARGET_FILE:${target}>
            PARENT_SCOPE)
    else()
        set(${out} ${isolation} -- $<TARGET_FILE:${target}> PARENT_SCOPE)
    endif()
endfunction()

function(ketrin_add_test)
    cmake_parse_arguments(T "" "NAME;HOSTS;TIMEOUT" "SOURCES;LIBRARIES;ARGS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBRARIES} ketrin_test_fixtures GTest::gmock
        GTest::gtest_main)
    target_include_directories(${T_NAME} PRIVATE "${CMAKE_SOURCE_DIR}/tests")

    ketrin_test_command(command ${T_NAME} "${T_HOSTS}")
    if(WIN32)
        set(default_timeout 300)
    else()
        set(default_timeout 120)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT ${default_timeout})
    endif()
    add_test(NAME ${T_NAME} COMMAND ${command} ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(WIN32)
        set_tests_properties(${T_NAME} PROPERTIES
            ENVIRONMENT "${KETRIN_WINE_ENVIRONMENT}" FIXTURES_REQUIRED "wine_prefix;display")
    endif()
endfunction()

# A virtual X display for the run: Wine's windows, and the GUI tests, draw there.
function(ketrin_add_display_fixture)
    add_test(NAME display_start COMMAND "${KETRIN_FIXTURES}/xvfb" start ${KETRIN_TEST_DISPLAY})
    add_test(NAME display_stop COMMAND "${KETRIN_FIXTURES}/xvfb" stop ${KETRIN_TEST_DISPLAY})
    set_tests_properties(display_start PROPERTIES FIXTURES_SETUP display TIMEOUT 60)
    set_tests_properties(display_stop PROPERTIES FIXTURES_CLEANUP display TIMEOUT 60)
endfunction()

# A Wine prefix and its wineserver, made once per run before the first test that requires the
# fixture <name>: `<name>_start` and `<name>_stop` run SCRIPT (tests/fixtures/wine_prefix unless
# given) with ENVIRONMENT. Every Wine program runs in a virtual desktop, so that focus and
# minimising behave without a window manager.
function(ketrin_add_wine_prefix_fixture name)
    cmake_parse_arguments(F "" "SCRIPT" "ENVIRONMENT" ${ARGN})
    if(NOT F_SCRIPT)
        set(F_SCRIPT "${KETRIN_FIXTURES}/wine_prefix")
    endif()
    add_test(NAME ${name}_start COMMAND "${F_SCRIPT}" start)
    add_test(NAME ${name}_stop COMMAND "${F_SCRIPT}" stop)
    set_tests_properties(${name}_start PROPERTIES
        FIXTURES_SETUP ${name} FIXTURES_REQUIRED display TIMEOUT 300
        ENVIRONMENT "${F_ENVIRONMENT}")
    set_tests_properties(${name}_stop PROPERTIES
        FIXTURES_CLEANUP ${name} TIMEOUT 60 ENVIRONMENT "${F_ENVIRONMENT}")
endfunction()

# The shared prefix most Windows tests run in.
function(ketrin_add_wine_fixture)
    ketrin_add_wine_prefix_fixture(wine_prefix ENVIRONMENT ${KETRIN_WINE_ENVIRONMENT})
endfunction()
