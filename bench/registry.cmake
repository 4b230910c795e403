# Registry lookups of the login dialog against a prefix of realistic size.
add_executable(registry_lookup_bench registry_lookup_bench.cpp)
target_link_libraries(registry_lookup_bench PRIVATE ketrin_registry benchmark::benchmark)
