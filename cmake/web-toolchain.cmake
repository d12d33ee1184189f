# SPDX-License-Identifier: MIT
# WebAssembly by Debian's emscripten, for the web page and the engine's tests under node.
# Node 20's own fetch cannot read a module from a file path, which the
# emscripten loader would try first: the tests run node without it.
set(CMAKE_CROSSCOMPILING_EMULATOR "/usr/bin/node;--no-experimental-fetch" CACHE STRING "Runs the tests' programs")
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
# The window's run-time errors are exceptions, caught where the page calls
# in; memory grows with what a run needs (its residue flags alone take 40 MB).
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions -sALLOW_MEMORY_GROWTH=1")
