// SPDX-License-Identifier: MIT
// Parts of a program kept in modules of their own, loaded the first time they are needed.
#pragma once

namespace fibmod {

// What the entry `entry` of the program's module `fileName` returns. The
// module is looked for along the calling program's library search path (its
// RUNPATH), loaded and kept loaded; std::runtime_error naming the module and
// the loader's reason when it cannot be. Safe to call from several threads.
const void* ProgramModuleEntry(const char* fileName, const char* entry);

// The same, as the type the entry returns a pointer to.
template <class T>
const T& ProgramModuleEntryAs(const char* fileName, const char* entry)
{
    return *static_cast<const T*>(ProgramModuleEntry(fileName, entry));
}

} // namespace fibmod
