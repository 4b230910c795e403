# The request exchange over TCP and its socket layer.
add_library(ketrin_exchange STATIC
    tcp_exchange.cpp
    exchange_cancel.cpp
    tcp_socket.cpp
    tcp_socket_${KETRIN_PLATFORM}.cpp
    socket_error.cpp
    socket_error_${KETRIN_PLATFORM}.cpp
    host_entry.cpp
    resolve_host.cpp
    resolve_host_${KETRIN_PLATFORM}.cpp
)
target_link_libraries(ketrin_exchange PUBLIC ketrin_support)
if(WIN32)
    target_link_libraries(ketrin_exchange PUBLIC ws2_32)
endif()
