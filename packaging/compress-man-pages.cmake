# SPDX-License-Identifier: MIT
# Run by CPack on its staging tree before it builds the package: Debian wants
# every manual page compressed with gzip at the highest level and without a
# time stamp. Pages installed uncompressed are compressed here.
find_program(GZIP gzip REQUIRED)
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/man*/*.[1-9]")
foreach(page IN LISTS pages)
    message(STATUS "Compressing ${page}")
    execute_process(COMMAND ${GZIP} --best --no-name --force ${page} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
