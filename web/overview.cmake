# SPDX-License-Identifier: MIT
# The view "Übersicht": the scan's row function as a WebAssembly module of
# its own, one instance in each of the view's workers, part of the site
# (included after the site's target, fibmod_site, which copies the view's files).
add_executable(fibmod_overview_engine bindings/overview_binding.cpp ${PROJECT_SOURCE_DIR}/ui/overview/overview_texts.cpp)
target_include_directories(fibmod_overview_engine PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(fibmod_overview_engine PRIVATE fibmod_engine)
set_target_properties(fibmod_overview_engine PROPERTIES
    OUTPUT_NAME overview_engine
    SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${FIBMOD_SITE_DIR})
# A factory for the worker's importScripts; strings in and out through cwrap.
target_link_options(fibmod_overview_engine PRIVATE
    -sMODULARIZE=1
    -sEXPORT_NAME=createOverviewEngine
    -sENVIRONMENT=worker
    -sALLOW_MEMORY_GROWTH=1
    -sFILESYSTEM=0
    -sEXPORTED_RUNTIME_METHODS=cwrap)

add_dependencies(fibmod_site fibmod_overview_engine)
