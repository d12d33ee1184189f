# SPDX-License-Identifier: MIT
# The view "Perioden": the portable period engine as a WebAssembly module of
# its own, loaded by the view's worker alone, and the view's files, part of
# the site (included after the site's target, fibmod_site).
add_executable(fibmod_periods_engine bindings/periods_binding.cpp)
target_link_libraries(fibmod_periods_engine PRIVATE fibmod_period_word)
set_target_properties(fibmod_periods_engine PROPERTIES
    OUTPUT_NAME periods_engine
    SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${FIBMOD_SITE_DIR})
# A factory for the worker's importScripts; strings in and out through cwrap.
target_link_options(fibmod_periods_engine PRIVATE
    -sMODULARIZE=1
    -sEXPORT_NAME=createPeriodsEngine
    -sENVIRONMENT=worker
    -sALLOW_MEMORY_GROWTH=1
    -sFILESYSTEM=0
    -sEXPORTED_RUNTIME_METHODS=cwrap)

foreach(file periods.js periods_worker.js periods.css)
    add_custom_command(
        OUTPUT ${FIBMOD_SITE_DIR}/${file}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${FIBMOD_SITE_DIR}/${file}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    list(APPEND periods_view_files ${FIBMOD_SITE_DIR}/${file})
endforeach()
add_custom_target(fibmod_periods_view DEPENDS ${periods_view_files} fibmod_periods_engine)
add_dependencies(fibmod_site fibmod_periods_view)
