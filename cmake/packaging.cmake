# Packing the programs for users: a zip of the Windows programs, a Debian package of the Linux one.
if(WIN32)
    include(cmake/packaging_windows.cmake)
else()
    include(cmake/packaging_linux.cmake)
endif()
