# Tests of registry key access.
#
# Both builds read keys that tests/fixtures/wine_registry_seed writes into a throwaway Wine prefix
# as a 32-bit installer writes them. The Windows build also checks that its view and the Linux
# reading of the same prefix's files agree byte for byte: the Windows dump program runs under Wine,
# and a native Linux dump program is built beside it with the host compiler.
set(registry_seeded_prefix "${CMAKE_BINARY_DIR}/wine-registry-prefix")
set(registry_seed_environment
    "WINEPREFIX=${registry_seeded_prefix}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")

add_executable(registry_dump registry_dump.cpp)
target_link_libraries(registry_dump PRIVATE ketrin_registry)

if(WIN32)
    add_test(NAME registry_seed_shared_prefix
        COMMAND "${KETRIN_FIXTURES}/isolated" -- "${KETRIN_FIXTURES}/wine_registry_seed")
    set_tests_properties(registry_seed_shared_prefix PROPERTIES
        ENVIRONMENT "${KETRIN_WINE_ENVIRONMENT}" TIMEOUT 300
        FIXTURES_REQUIRED wine_prefix FIXTURES_SETUP registry_seeded)

    ketrin_add_test(NAME registry_key_wine_tests
        SOURCES registry_key_seeded_test.cpp registry_key_win32_test.cpp
                ../app/wolapi_install_path_win32_test.cpp
        LIBRARIES ketrin_registry ketrin_wolapi)
    set_property(TEST registry_key_wine_tests APPEND PROPERTY FIXTURES_REQUIRED registry_seeded)

    find_program(KETRIN_HOST_CXX NAMES g++ c++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    set(host_dump "${CMAKE_CURRENT_BINARY_DIR}/registry_dump_host")
    set(host_sources
        "${PROJECT_SOURCE_DIR}/src/support/registry_key_posix.cpp"
        "${PROJECT_SOURCE_DIR}/src/support/wine_prefix_registry.cpp"
        "${PROJECT_SOURCE_DIR}/src/support/wine_registry.cpp"
        "${PROJECT_SOURCE_DIR}/src/support/wine_registry_text.cpp"
        "${CMAKE_CURRENT_SOURCE_DIR}/registry_dump.cpp")
    add_custom_command(OUTPUT "${host_dump}"
        COMMAND "${KETRIN_HOST_CXX}" -std=c++17 -O2 -Wall -Wextra -Werror
                "-I${PROJECT_SOURCE_DIR}/src" ${host_sources} -o "${host_dump}"
        DEPENDS ${host_sources}
        COMMENT "Building the Linux registry dump with the host compiler")
    add_custom_target(build_registry_dump_host ALL DEPENDS "${host_dump}")

    add_test(NAME registry_views_agree
        COMMAND "${KETRIN_FIXTURES}/isolated" -- "${KETRIN_FIXTURES}/wine_registry_compare"
                $<TARGET_FILE:registry_dump> "${host_dump}"
                "${CMAKE_CURRENT_SOURCE_DIR}/registry_views.list")
    set_tests_properties(registry_views_agree PROPERTIES
        ENVIRONMENT "${registry_seed_environment}" TIMEOUT 300)
else()
    ketrin_add_test(NAME registry_file_tests
        SOURCES wine_registry_file_test.cpp wine_prefix_registry_test.cpp
                ../app/wolapi_install_path_posix_test.cpp
        LIBRARIES ketrin_registry ketrin_wolapi)

    find_program(KETRIN_WINE wine)
    if(KETRIN_WINE)
        add_test(NAME registry_seed_prefix
            COMMAND "${KETRIN_FIXTURES}/isolated" -- "${KETRIN_FIXTURES}/wine_registry_seed"
                    --flush)
        set_tests_properties(registry_seed_prefix PROPERTIES
            ENVIRONMENT "${registry_seed_environment}" TIMEOUT 300
            FIXTURES_SETUP registry_seeded)
        ketrin_add_test(NAME registry_key_wine_prefix_tests
            SOURCES registry_key_seeded_test.cpp
            LIBRARIES ketrin_registry)
        set_tests_properties(registry_key_wine_prefix_tests PROPERTIES
            ENVIRONMENT "WINEPREFIX=${registry_seeded_prefix}" FIXTURES_REQUIRED registry_seeded)
    else()
        message(WARNING "wine not found: the tests against a Wine-written registry are left out")
    endif()
endif()
