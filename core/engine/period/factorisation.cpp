// SPDX-License-Identifier: MIT
// Factoring with FLINT: n_factor below 2^64, fmpz_factor above on a helper
// thread with a private working directory.
#include "core/engine/period/factorisation.h"

#include <fcntl.h>
#include <sched.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <flint/fmpz_factor.h>
#include <flint/ulong_extras.h>

#include "core/engine/period/flint_thread.h"
#include "core/engine/period/period_rows.h"

namespace fibmod {

namespace {

// n_factor divides by its first 3000 primes before anything else; most
// numbers are done after far fewer, so a short trial division comes first
// and n_factor gets only a cofactor with two or more larger primes.
constexpr ulong kShortTrialPrimes = 200;

Factorisation FactorWord(std::uint64_t n)
{
    n_factor_t found;
    n_factor_init(&found);
    const ulong cofactor = n_factor_trial(&found, n, kShortTrialPrimes);
    if (cofactor != 1) {
        if (n_is_prime(cofactor)) {
            n_factor_insert(&found, cofactor, 1);
        } else {
            n_factor_t rest;
            n_factor_init(&rest);
            n_factor(&rest, cofactor, 1);
            for (int i = 0; i < rest.num; ++i) n_factor_insert(&found, rest.p[i], static_cast<ulong>(rest.exp[i]));
        }
    }
    Factorisation factors;
    factors.reserve(static_cast<std::size_t>(found.num));
    for (int i = 0; i < found.num; ++i)
        factors.push_back({BigInt(static_cast<std::uint64_t>(found.p[i])), static_cast<unsigned>(found.exp[i])});
    // n_factor lists them in the order found.
    std::sort(factors.begin(), factors.end(),
              [](const PrimePower& a, const PrimePower& b) { return a.prime < b.prime; });
    return factors;
}

// The most the sieve writes to its file for a number below 2^127 is about
// 170 KB; a directory must hold this much before the sieve may run there.
// (FLINT 2.9 does not check its writes: on a full file system the sieve
// reads back what it never wrote, and crashes or loops for ever.)
constexpr off_t kSieveScratchBytes = off_t{1} << 20;

// The private directories that exist now, removed by RemoveScratch when the
// program is ended at once (quick_exit) while a factoring runs.
std::mutex scratchMutex;
std::set<std::string> scratchDirectories;

void RemoveScratch()
{
    const std::lock_guard lock(scratchMutex);
    for (const std::string& path : scratchDirectories) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}

// True when `directory` takes kSieveScratchBytes now (space and quota).
bool HoldsSieveScratch(const std::string& directory)
{
    const std::string probe = directory + "/space";
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool held = posix_fallocate(fd, 0, kSieveScratchBytes) == 0;
    close(fd);
    unlink(probe.c_str());
    return held;
}

// A fresh directory only this process writes to, with room for the sieve's
// file, removed by the destructor (with whatever FLINT left in it).
class PrivateDirectory {
public:
    PrivateDirectory()
    {
        static const bool removedAtQuickExit = std::at_quick_exit(&RemoveScratch) == 0;
        (void)removedAtQuickExit;
        int error = 0;
        for (const char* base : std::initializer_list<const char*>{getenv("TMPDIR"), "/tmp", "/var/tmp", "/dev/shm"}) {
            if (base == nullptr || *base == '\0') continue;
            std::string pattern = std::string(base) + "/fibmod-factor-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr) {
                error = errno;
                continue;
            }
            {
                const std::lock_guard lock(scratchMutex);
                scratchDirectories.insert(pattern);
            }
            path_ = pattern;
            if (HoldsSieveScratch(path_)) return;
            error = ENOSPC;
            remove();
        }
        throw std::system_error(error, std::generic_category(), "no writable directory for factoring");
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;
    // The sieve removes its file when it is done; one left by a failure goes
    // with the directory.
    ~PrivateDirectory() { remove(); }
    const std::string& path() const { return path_; }

private:
    void remove()
    {
        const std::lock_guard lock(scratchMutex);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        scratchDirectories.erase(path_);
        path_.clear();
    }

    std::string path_;
};

// One large factoring at a time: the sieve names its file after the
// process's first random number, the same for every thread.
std::mutex bigFactoringMutex;

// The prime powers of FLINT's factorisation, ascending, equal primes joined.
Factorisation Collected(const fmpz_factor_t found)
{
    Factorisation factors;
    for (slong i = 0; i < found->num; ++i)
        factors.push_back({BigInt(found->p + i), static_cast<unsigned>(found->exp[i])});
    std::sort(factors.begin(), factors.end(),
              [](const PrimePower& a, const PrimePower& b) { return a.prime < b.prime; });
    Factorisation joined;
    for (PrimePower& factor : factors) {
        if (!joined.empty() && joined.back().prime == factor.prime)
            joined.back().exponent += factor.exponent;
        else
            joined.push_back(std::move(factor));
    }
    return joined;
}

// Where no private directory can be had (unshare refused, no writable
// temporary directory, none with room for the sieve's file): trial division, Pollard's rho and elliptic curves up
// to the square root, which need no file but take longer (about a second for
// two primes near 2^63).
void FactorWithoutSieve(fmpz_factor_t found, const BigInt& n)
{
    const auto bits = static_cast<slong>(n.bits() / 2 + 1);
    if (!fmpz_factor_smooth(found, n.get(), bits, 1))
        throw std::runtime_error("cannot factor " + n.toString() + " without a private working directory");
}

Factorisation FactorLarge(const BigInt& n)
{
    const std::lock_guard lock(bigFactoringMutex);
    Factorisation factors;
    std::exception_ptr failure;
    std::thread helper([&] {
        try {
            fmpz_factor_t found;
            fmpz_factor_init(found);
            try {
                // This thread's working directory becomes its own, so that
                // the process's stays as it is for every other thread.
                std::optional<PrivateDirectory> directory;
                if (unshare(CLONE_FS) == 0) {
                    try {
                        directory.emplace();
                    } catch (const std::system_error&) {
                    }
                }
                if (directory && chdir(directory->path().c_str()) == 0)
                    fmpz_factor(found, n.get());
                else
                    FactorWithoutSieve(found, n);
                factors = Collected(found);
            } catch (...) {
                fmpz_factor_clear(found);
                throw;
            }
            fmpz_factor_clear(found);
        } catch (...) {
            failure = std::current_exception();
        }
        flint_cleanup();
    });
    helper.join();
    if (failure) std::rethrow_exception(failure);
    return factors;
}

} // namespace

Factorisation Factor(const BigInt& n)
{
    ReleaseFlintCachesAtThreadExit();
    if (n.sign() <= 0) throw std::invalid_argument("only numbers from 1 on are factored: " + n.toString());
    if (n.fitsUInt64()) return FactorWord(n.toUInt64());
    return FactorLarge(n);
}

BigInt Expand(const Factorisation& factors)
{
    BigInt product(1);
    BigInt power;
    for (const PrimePower& factor : factors) {
        fmpz_pow_ui(power.get(), factor.prime.get(), factor.exponent);
        fmpz_mul(product.get(), product.get(), power.get());
    }
    return product;
}

std::string FactorisationText(const Factorisation& factors)
{
    std::vector<PrimePowerText> texts;
    texts.reserve(factors.size());
    for (const PrimePower& factor : factors) texts.push_back({factor.prime.toString(), factor.exponent});
    return FactorsText(texts);
}

} // namespace fibmod
