# SPDX-License-Identifier: MIT
# The view "Übersicht": the scan's row function as a WebAssembly module of
# its own, one instance in each of the view's workers, part of the site
# (included after the site's target, fibmod_site, which copies the view's
# files). Two builds of it: overview_engine_simd on WebAssembly SIMD (the
# lanes' vector loop) and overview_engine for browsers without SIMD; the
# page loads one of them.
function(fibmod_overview_module target output engine)
    add_executable(${target} bindings/overview_binding.cpp ${PROJECT_SOURCE_DIR}/ui/overview/overview_texts.cpp)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE ${engine})
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${output}
        SUFFIX .js
        RUNTIME_OUTPUT_DIRECTORY ${FIBMOD_SITE_DIR})
    # A factory for the worker's importScripts; strings in and out through
    # cwrap, the CSV lines as bytes read from the module's memory.
    target_link_options(${target} PRIVATE
        -sMODULARIZE=1
        -sEXPORT_NAME=createOverviewEngine
        -sENVIRONMENT=worker
        -sALLOW_MEMORY_GROWTH=1
        -sFILESYSTEM=0
        -sEXPORTED_RUNTIME_METHODS=cwrap,ccall)
    add_dependencies(fibmod_site ${target})
endfunction()

fibmod_overview_module(fibmod_overview_engine overview_engine fibmod_engine)
fibmod_overview_module(fibmod_overview_engine_simd overview_engine_simd fibmod_engine_simd)
