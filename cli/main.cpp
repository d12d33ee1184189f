// SPDX-License-Identifier: MIT
// fibmod-cli: the window's computation on the command line.
#include "cli/program.h"

int main(int argc, char** argv) { return fibmod::cli::RunProgram(argc, argv); }
