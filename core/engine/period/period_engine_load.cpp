// SPDX-License-Identifier: MIT
// Loading the period engine's module with the dynamic loader.
#include "core/engine/period/period_engine.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace fibmod {

namespace {

[[noreturn]] void Unloadable(const char* fileName)
{
    const char* reason = dlerror();
    throw PeriodEngineMissing(std::string("cannot load the period engine's module ") + fileName + ": " +
                              (reason ? reason : "unknown reason"));
}

// The folders the dynamic loader searches for the libraries of the program
// or extension holding this code, its RUNPATH first. Asked of that object
// itself: a plain dlopen would search its caller's, and a sanitizer's
// interceptor in between would be the caller.
std::vector<std::string> SearchedFolders()
{
    Dl_info info;
    void* self = nullptr;
    if (dladdr1(reinterpret_cast<void*>(&PeriodEngineIn), &info, &self, RTLD_DL_LINKMAP) == 0 || !self) return {};
    Dl_serinfo size;
    if (dlinfo(self, RTLD_DI_SERINFOSIZE, &size) != 0) return {};
    const auto buffer = std::make_unique<std::max_align_t[]>(size.dls_size / sizeof(std::max_align_t) + 1);
    auto* list = reinterpret_cast<Dl_serinfo*>(buffer.get());
    if (dlinfo(self, RTLD_DI_SERINFOSIZE, list) != 0 || dlinfo(self, RTLD_DI_SERINFO, list) != 0) return {};
    std::vector<std::string> folders;
    for (unsigned i = 0; i < list->dls_cnt; ++i) folders.emplace_back(list->dls_serpath[i].dls_name);
    return folders;
}

void* Opened(const char* fileName)
{
    for (const std::string& folder : SearchedFolders()) {
        const std::string path = folder + "/" + fileName;
        if (access(path.c_str(), F_OK) == 0) return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
}

} // namespace

const PeriodEngine& PeriodEngineIn(const char* fileName)
{
    // Never closed: the engine's functions live in it.
    void* module = Opened(fileName);
    if (!module) Unloadable(fileName);
    void* entry = dlsym(module, kPeriodEngineEntry);
    if (!entry) Unloadable(fileName);
    return *static_cast<const PeriodEngine*>(reinterpret_cast<const void* (*)()>(entry)());
}

const PeriodEngine& LoadedPeriodEngine()
{
    static const PeriodEngine& engine = PeriodEngineIn(kPeriodEngineModule);
    return engine;
}

} // namespace fibmod
