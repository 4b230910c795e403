# Makes the release archive with CPack, unpacks it into a throwaway directory and checks what a
# user gets: the two programs, each without runtime libraries it would need beside it, and the
# text, with Windows line ends. The hosts helper lies beside the program, where the program
# looks for it.
#   cmake -DCPACK=... -DCONFIG=<build>/CPackConfig.cmake -DOBJDUMP=... -DSCRATCH=<dir>
#         -P archive_package.cmake
foreach(variable CPACK CONFIG OBJDUMP SCRATCH)
    if(NOT ${variable})
        message(FATAL_ERROR "${variable} must be given")
    endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/made")
execute_process(COMMAND "${CPACK}" -G ZIP --config "${CONFIG}" -B "${SCRATCH}/made"
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${log}")
endif()

file(GLOB archives RELATIVE "${SCRATCH}/made" "${SCRATCH}/made/*.zip")
if(NOT archives MATCHES "^ketrin-client-[0-9]+\\.[0-9]+\\.[0-9]+-win64\\.zip$")
    message(FATAL_ERROR "expected one ketrin-client-<version>-win64.zip, got: ${archives}")
endif()
string(REGEX REPLACE "\\.zip$" "" top "${archives}")
file(ARCHIVE_EXTRACT INPUT "${SCRATCH}/made/${archives}" DESTINATION "${SCRATCH}/unpacked")

file(GLOB_RECURSE files RELATIVE "${SCRATCH}/unpacked" "${SCRATCH}/unpacked/*")
list(SORT files)
set(expected
    "${top}/README.txt;${top}/ketrin-hosts-helper.exe;${top}/ketrin_client.exe;${top}/launcher.exe")
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "the archive holds\n  ${files}\nnot\n  ${expected}")
endif()

# file(READ) as text drops CR bytes: the line ends are checked on the bytes.
set(readme_path "${SCRATCH}/unpacked/${top}/README.txt")
file(READ "${readme_path}" readme_hex HEX)
string(REGEX MATCHALL ".." readme_bytes "${readme_hex}")
list(JOIN readme_bytes " " readme_bytes)
string(REPLACE "0d 0a" "line-end" readme_bytes "${readme_bytes}")
if(readme_bytes MATCHES "(^| )0[ad]( |$)" OR NOT readme_bytes MATCHES "line-end$")
    message(FATAL_ERROR "README.txt has a line that does not end in CR LF")
endif()
file(READ "${readme_path}" readme)
if(readme MATCHES "@[A-Za-z_]+@")
    message(FATAL_ERROR "README.txt holds an unfilled placeholder: ${CMAKE_MATCH_0}")
endif()

# A user copies one file: a program that needs the compiler's runtime libraries beside it would
# not start.
foreach(program ketrin_client.exe ketrin-hosts-helper.exe launcher.exe)
    execute_process(COMMAND "${OBJDUMP}" -p "${SCRATCH}/unpacked/${top}/${program}"
                    RESULT_VARIABLE status OUTPUT_VARIABLE imports ERROR_VARIABLE log)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot read ${program}: ${log}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" libraries "${imports}")
    if(NOT libraries)
        message(FATAL_ERROR "${program} shows no imports at all")
    endif()
    foreach(library IN LISTS libraries)
        if(library MATCHES "DLL Name: lib")
            message(FATAL_ERROR "${program} needs a runtime library beside it: ${library}")
        endif()
    endforeach()
endforeach()
message(STATUS "${archives}: ${files}")
