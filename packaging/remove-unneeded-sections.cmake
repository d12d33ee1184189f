# SPDX-License-Identifier: MIT
# Run by CPack on its staging tree after it has stripped the programs: takes
# out the compiler's .comment and the .note section as well, which a plain
# strip leaves in.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
    execute_process(
        COMMAND ${CPACK_FIBMOD_STRIP} --remove-section=.comment --remove-section=.note ${program}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
