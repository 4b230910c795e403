# Registry lookups of the login dialog against a prefix of realistic size.
add_executable(registry_lookup_bench registry_lookup_bench.cpp)
target_link_libraries(registry_lookup_bench PRIVATE ketrin_registry ketrin_bench_support)

# A tiny run on every test run, of the fresh prefix's size only, so that the benchmark cannot rot
# unnoticed; it fails when the login dialog's keys are not all found.
add_test(NAME registry_lookup_bench_smoke
    COMMAND "${KETRIN_FIXTURES}/isolated" -- $<TARGET_FILE:registry_lookup_bench>
        --repetitions=2 --benchmark_min_time=0.001 --benchmark_filter=/8600)
set_tests_properties(registry_lookup_bench_smoke PROPERTIES TIMEOUT 60)

# The prefix search at its worst and at its most common.
add_executable(prefix_search_bench prefix_search_bench.cpp)
target_link_libraries(prefix_search_bench PRIVATE ketrin_wine_prefixes ketrin_bench_support)
add_test(NAME prefix_search_bench_smoke
    COMMAND "${KETRIN_FIXTURES}/isolated" -- $<TARGET_FILE:prefix_search_bench>
        --small --repetitions=2 --benchmark_min_time=0.001)
set_tests_properties(prefix_search_bench_smoke PROPERTIES TIMEOUT 120)
