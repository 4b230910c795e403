# Tests of the request exchange over TCP, and the loopback server other tests reuse.
find_package(Threads REQUIRED)
add_library(ketrin_loopback_server STATIC
    "${KETRIN_FIXTURES}/loopback_server.cpp"
    "${KETRIN_FIXTURES}/loopback_socket_${KETRIN_PLATFORM}.cpp"
)
target_include_directories(ketrin_loopback_server PUBLIC "${CMAKE_SOURCE_DIR}/tests")
target_link_libraries(ketrin_loopback_server PUBLIC ketrin_exchange Threads::Threads)

# The machine's own name goes into the test's hosts file: Windows looks the empty name up as it.
cmake_host_system_information(RESULT exchange_local_host QUERY HOSTNAME)
configure_file(exchange_test_hosts.in exchange_test_hosts @ONLY)

ketrin_add_test(NAME support_exchange_tests
    SOURCES socket_layer_test.cpp exchange_test.cpp exchange_${KETRIN_PLATFORM}_test.cpp
    LIBRARIES ketrin_exchange ketrin_loopback_server
    HOSTS "${CMAKE_CURRENT_BINARY_DIR}/exchange_test_hosts")
