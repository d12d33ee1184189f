# SPDX-License-Identifier: MIT
# Run by CPack on its staging tree after it has stripped the programs: takes
# out the compiler's .comment and the .note section as well, which a plain
# strip leaves in. With one package per install component, each component
# has its own tree one level down; the Python extension is stripped alike.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/*/bin/*" "${CPACK_TEMPORARY_DIRECTORY}/*/*/bin/*"
     "${CPACK_TEMPORARY_DIRECTORY}/*/*/lib/python3/dist-packages/fibmod/*.so")
foreach(program IN LISTS programs)
    execute_process(
        COMMAND ${CPACK_FIBMOD_STRIP} --remove-section=.comment --remove-section=.note ${program}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
