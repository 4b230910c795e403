# Tests of the request exchange over TCP.

# The machine's own name goes into the test's hosts file: Windows looks the empty name up as it.
cmake_host_system_information(RESULT exchange_local_host QUERY HOSTNAME)
configure_file(exchange_test_hosts.in exchange_test_hosts @ONLY)

ketrin_add_test(NAME support_exchange_tests
    SOURCES socket_layer_test.cpp exchange_test.cpp exchange_${KETRIN_PLATFORM}_test.cpp
    LIBRARIES ketrin_exchange ketrin_loopback_server
    HOSTS "${CMAKE_CURRENT_BINARY_DIR}/exchange_test_hosts")
