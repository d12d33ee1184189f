// SPDX-License-Identifier: MIT
// Parts of a program kept in modules of their own, loaded the first time they are needed.
#pragma once

#include <stdexcept>

namespace fibmod {

// A module of the program that cannot be loaded: missing from the
// installation, or not the program's.
class ProgramModuleMissing : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the entry `entry` of the program's module `fileName` returns. The
// module is looked for along the calling program's library search path (its
// RUNPATH), loaded and kept loaded; ProgramModuleMissing naming the module and
// the loader's reason when it cannot be. Safe to call from several threads.
const void* ProgramModuleEntry(const char* fileName, const char* entry);

// The same, as the type the entry returns a pointer to.
template <class T>
const T& ProgramModuleEntryAs(const char* fileName, const char* entry)
{
    return *static_cast<const T*>(ProgramModuleEntry(fileName, entry));
}

} // namespace fibmod
