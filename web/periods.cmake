# SPDX-License-Identifier: MIT
# The view "Perioden": the portable period engine as a WebAssembly module of
# its own, loaded by the view's worker alone, and the view's files.
add_executable(fibmod_periods_engine bindings/periods_binding.cpp)
target_link_libraries(fibmod_periods_engine PRIVATE fibmod_period_word)
set_target_properties(fibmod_periods_engine PROPERTIES
    OUTPUT_NAME periods_engine
    SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${FIBMOD_WEB_SITE})
# A factory for the worker's importScripts; strings in and out through cwrap.
target_link_options(fibmod_periods_engine PRIVATE
    -sMODULARIZE=1
    -sEXPORT_NAME=createPeriodsEngine
    -sENVIRONMENT=worker
    -sALLOW_MEMORY_GROWTH=1
    -sEXPORTED_RUNTIME_METHODS=cwrap)

foreach(file periods.js periods_worker.js periods.css)
    add_custom_command(
        OUTPUT ${FIBMOD_WEB_SITE}/${file}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${FIBMOD_WEB_SITE}/${file}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    list(APPEND periods_view_files ${FIBMOD_WEB_SITE}/${file})
endforeach()
add_custom_target(fibmod_periods_view ALL DEPENDS ${periods_view_files} fibmod_periods_engine)
