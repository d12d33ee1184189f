# SPDX-License-Identifier: MIT
# The view "Perioden": the portable period engine as a WebAssembly module of
# its own, loaded by the view's worker alone, part of the site (included
# after the site's target, fibmod_site, which copies the view's files).
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

add_dependencies(fibmod_site fibmod_periods_engine)
