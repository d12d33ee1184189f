// SPDX-License-Identifier: MIT
// Loading a module of the program with the dynamic loader.
#include "core/engine/program_module.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace fibmod {

namespace {

[[noreturn]] void Unloadable(const char* fileName)
{
    const char* reason = dlerror();
    throw std::runtime_error(std::string("cannot load the program's module ") + fileName + ": " +
                             (reason ? reason : "unknown reason"));
}

} // namespace

const void* ProgramModuleEntry(const char* fileName, const char* entry)
{
    // Never closed: what it returns points into it.
    void* module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!module) Unloadable(fileName);
    void* symbol = dlsym(module, entry);
    if (!symbol) Unloadable(fileName);
    using Entry = const void* (*)();
    return reinterpret_cast<Entry>(symbol)();
}

} // namespace fibmod
