# SPDX-License-Identifier: MIT
# Parts of a program that need heavy libraries (Highway, FLINT) can live in
# modules of their own, which the program loads the first time it needs
# them: then a run that never needs them never loads those libraries.
#
# A library with two definitions of its entry (linked in, or loaded from the
# module) chooses between them with fibmod_linked_or_on_demand; a program
# that loads modules says so with fibmod_loads_modules. Every other program
# links the parts in, as before.

# The modules of the build, side by side; installed into a private folder.
set(FIBMOD_MODULE_BUILD_DIR ${PROJECT_BINARY_DIR}/modules)
set(FIBMOD_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/fibmod)

# Static libraries end up inside the modules too. WebAssembly has no modules
# to load, and its position-independent code is for dynamic linking only.
if(NOT EMSCRIPTEN)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# Links `library`'s users to `on_demand` when they load modules, else to `linked`.
function(fibmod_linked_or_on_demand library linked on_demand)
    target_link_libraries(${library} INTERFACE
        "$<IF:$<BOOL:$<TARGET_PROPERTY:FIBMOD_LOADS_MODULES>>,${on_demand},${linked}>")
endfunction()

# A module `name`.so of the sources, built and installed where the programs look.
function(fibmod_add_module name)
    add_library(${name} MODULE ${ARGN})
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${FIBMOD_MODULE_BUILD_DIR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        # A module may load its siblings.
        FIBMOD_LOADS_MODULES ON
        BUILD_RPATH "$ORIGIN"
        INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${name} LIBRARY DESTINATION ${FIBMOD_MODULE_INSTALL_DIR})
endfunction()

# `target`, a program in the binaries' folder, loads the modules it needs.
function(fibmod_loads_modules target)
    file(RELATIVE_PATH to_modules ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/fibmod)
    set_target_properties(${target} PROPERTIES
        FIBMOD_LOADS_MODULES ON
        BUILD_RPATH ${FIBMOD_MODULE_BUILD_DIR}
        INSTALL_RPATH "$ORIGIN/${to_modules}")
endfunction()
