# Boost (header-only: format, string algorithms), GoogleTest and Google Benchmark.
if(CMAKE_CROSSCOMPILING)
    # The cross build sees Boost's headers through a directory that holds only a link to them,
    # so that none of the host's other headers can leak into a Windows translation unit.
    set(boost_link_dir "${CMAKE_BINARY_DIR}/boost-headers")
    file(MAKE_DIRECTORY "${boost_link_dir}")
    file(CREATE_LINK /usr/include/boost "${boost_link_dir}/boost" SYMBOLIC)
    add_library(boost_headers INTERFACE)
    target_include_directories(boost_headers SYSTEM INTERFACE "${boost_link_dir}")
    add_library(Boost::headers ALIAS boost_headers)

    # GoogleTest from the source Debian ships, built with the cross compiler;
    # it defines the GTest:: targets itself.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(Boost 1.74 REQUIRED)
    find_package(GTest REQUIRED)
    find_package(benchmark REQUIRED)
endif()
