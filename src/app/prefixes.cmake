# Finding the Wine prefixes that the games live in, where the launchers keep them (Linux).
find_package(yaml-cpp REQUIRED)
add_library(ketrin_wine_prefixes STATIC
    bounded_file.cpp
    lutris_game_file.cpp
    steam_library_folders.cpp
    launcher_prefix_places.cpp
    wine_prefix_discovery.cpp
    wine_prefix_texts.cpp
)
target_link_libraries(ketrin_wine_prefixes
    PUBLIC ketrin_login ketrin_registry
    PRIVATE yaml-cpp Boost::headers)
