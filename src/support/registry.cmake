# Registry key access: the platform registry on Windows, the Wine prefix's registry files elsewhere.
if(WIN32)
    add_library(ketrin_registry STATIC registry_key_win32.cpp)
    target_link_libraries(ketrin_registry PUBLIC ketrin_support advapi32)
else()
    add_library(ketrin_registry STATIC
        registry_key_posix.cpp
        wine_registry.cpp
        wine_registry_text.cpp
        wine_prefix_registry.cpp
    )
    target_link_libraries(ketrin_registry PUBLIC ketrin_support)
endif()
