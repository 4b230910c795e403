# The game-service API's install path, read from the registry.
add_library(ketrin_wolapi STATIC wolapi_install_path.cpp)
target_link_libraries(ketrin_wolapi PUBLIC ketrin_registry)
