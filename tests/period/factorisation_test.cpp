// SPDX-License-Identifier: MIT
// Tests of factoring: small and huge numbers, a read-only working directory, no sieve, a full temporary
// directory, two threads at once.
#include "core/engine/period/factorisation.h"

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace fibmod {
namespace {

// Two primes near 2^63: their product has no factor a trial division or a
// short elliptic-curve search finds, so FLINT 2.9 sieves it.
const BigInt kPrimeBelow = BigInt::FromDecimal("9223370937343148051");
const BigInt kPrimeAbove = BigInt::FromDecimal("9223373136366403733");
const BigInt kHardProduct = BigInt::FromDecimal("85070591730233408489550396483858074383");
const BigInt kOtherProduct = BigInt::FromDecimal("85070591730234844241146970400620187493");

TEST(BigInt, ReadsAndWritesDecimalTextOfAnyLength)
{
    EXPECT_EQ(BigInt::FromDecimal("-000123").toString(), "-123");
    EXPECT_EQ(BigInt::FromDecimal("+7"), BigInt(7));
    const std::string huge = "123456789012345678901234567890123456789012345678901234567890";
    EXPECT_EQ(BigInt::FromDecimal(huge).toString(), huge);
    EXPECT_EQ(BigInt((PeriodUInt128{1} << 127) - 1).toString(), "170141183460469231731687303715884105727");
    EXPECT_EQ(PeriodModulusMax().toUInt128(), (PeriodUInt128{1} << 127) - 1);
    for (const char* bad : {"", "-", "+", "1e3", "2.5", " 1", "1 ", "0x10", "--1"})
        EXPECT_THROW(BigInt::FromDecimal(bad), std::invalid_argument) << bad;
}

TEST(BigInt, AddsAndSubtractsPast64BitsAndThroughZero)
{
    const BigInt twoTo64 = BigInt(~std::uint64_t{0}) + BigInt(1);
    EXPECT_EQ(twoTo64.toString(), "18446744073709551616");
    EXPECT_EQ((twoTo64 - PeriodModulusMax()).toString(), "-170141183460469231713240559642174554111");
    EXPECT_EQ(BigInt(3) - BigInt(5) + BigInt(2), BigInt(0));
}

TEST(BigInt, ReadsWholeNumbersAsUsersTypeThem)
{
    EXPECT_EQ(ReadBigWholeNumber(" \t-5 "), BigInt(-5));
    EXPECT_EQ(ReadBigWholeNumber("170141183460469231731687303715884105727"), PeriodModulusMax());
    for (const char* bad : {"2.5", "1e3", "", " ", "1 2", "12x"}) {
        try {
            ReadBigWholeNumber(bad);
            ADD_FAILURE() << bad;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(error.what(), "'" + std::string(bad) + "' is not a whole number in decimal digits");
        }
    }
}

TEST(Factor, GivesAscendingPrimePowersBelowAndAbove64Bits)
{
    EXPECT_TRUE(Factor(BigInt(1)).empty());
    EXPECT_EQ(FactorisationText(Factor(BigInt(600))), "2^3 3 5^2");
    EXPECT_EQ(FactorisationText(Factor(BigInt::FromDecimal("18446744073709551615"))), "3 5 17 257 641 65537 6700417");
    EXPECT_EQ(FactorisationText(Factor(PeriodModulusMax())), "170141183460469231731687303715884105727");
    const Factorisation hard = Factor(kHardProduct);
    EXPECT_EQ(hard, (Factorisation{{kPrimeBelow, 1}, {kPrimeAbove, 1}}));
    EXPECT_EQ(Expand(hard), kHardProduct);
    BigInt tenTo38 = BigInt::FromDecimal("100000000000000000000000000000000000000");
    EXPECT_EQ(FactorisationText(Factor(tenTo38)), "2^38 5^38");
    EXPECT_THROW(Factor(BigInt(0)), std::invalid_argument);
}

// chdir changes the whole process's directory, so it runs in a child.
TEST(FactorDeathTest, WorksFromAReadOnlyAndFromARemovedWorkingDirectory)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string directory = ::testing::TempDir() + "fibmod-read-only-XXXXXX";
            if (mkdtemp(directory.data()) == nullptr || chdir(directory.c_str()) != 0) std::_Exit(3);
            chmod(".", 0555);
            bool right = Factor(kHardProduct).size() == 2;
            // Removed: no file can be made here, not even by root.
            chmod(".", 0755);
            if (rmdir(directory.c_str()) != 0) std::_Exit(4);
            right = right && Factor(kOtherProduct).size() == 2;
            std::_Exit(right ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Makes every later unshare() of this process fail with EPERM, as sandboxes
// (a container's default seccomp profile, for one) do; false where the
// filter cannot be installed.
bool RefuseUnshare()
{
    sock_filter rules[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_unshare, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EPERM & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(rules)), rules};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}

// Whether this system lets a process install such a filter (a sandbox may
// not): tried in a child, which only installs it and exits.
bool CanRefuseUnshare()
{
    const pid_t child = fork();
    if (child == 0) std::_Exit(RefuseUnshare() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Two numbers above 2^64, factored rightly and completely.
bool FactorsAbove64BitsRightly()
{
    const Factorisation hard{{kPrimeBelow, 1}, {kPrimeAbove, 1}};
    return Factor(kHardProduct) == hard &&
           FactorisationText(Factor(BigInt::FromDecimal("18446744073709551617"))) == "274177 67280421310721";
}

// Without a working directory of its own the sieve cannot run; factoring
// without it must still be complete and right. The filter stays with the
// process, so it runs in a child.
TEST(FactorDeathTest, FactorsWithoutTheSieveWhereUnshareIsRefused)
{
    if (!CanRefuseUnshare()) GTEST_SKIP() << "this system refuses seccomp filters";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (!RefuseUnshare()) std::_Exit(2);
            std::_Exit(FactorsAbove64BitsRightly() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Gives this process a mount namespace of its own with a 64 KiB tmpfs at
// `directory`; false where the system does not allow it.
bool MountSmallTmpfs(const std::string& directory)
{
    if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", directory.c_str(), "tmpfs", 0, "size=64k") == 0;
}

// Whether this system lets a process do so: tried in a child.
bool CanMountSmallTmpfs(const std::string& directory)
{
    const pid_t child = fork();
    if (child == 0) std::_Exit(MountSmallTmpfs(directory) ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Fills the file system of `directory` but for about `left` bytes.
bool FillBut(const std::string& directory, off_t left)
{
    const std::string path = directory + "/fill";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    static const char block[4096] = {};
    while (fd >= 0 && write(fd, block, sizeof block) == static_cast<ssize_t>(sizeof block)) {
    }
    const off_t size = fd >= 0 ? lseek(fd, 0, SEEK_END) : -1;
    return fd >= 0 && ftruncate(fd, size > left ? size - left : 0) == 0 && close(fd) == 0;
}

// 0 when the hard product is factored rightly with TMPDIR on a full tmpfs at
// `directory` and on one with 4 KB left, and only the filling is left there.
int FactorOnAFullTmpfs(const std::string& directory)
{
    if (!MountSmallTmpfs(directory) || setenv("TMPDIR", directory.c_str(), 1) != 0) return 2;
    const Factorisation hard{{kPrimeBelow, 1}, {kPrimeAbove, 1}};
    bool right = true;
    for (const off_t left : {off_t{0}, off_t{4096}}) {
        if (!FillBut(directory, left)) return 3;
        right = right && Factor(kHardProduct) == hard;
    }
    const auto entries =
        std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator());
    return right && entries == 1 ? 0 : 1;
}

// The sieve on a full temporary directory (and on one with 4 KB left) once
// crashed or looped for ever: now the factoring does without it, and leaves
// nothing behind.
TEST(FactorDeathTest, FactorsRightlyWhenTheTemporaryDirectoryIsFull)
{
    std::string directory = ::testing::TempDir() + "fibmod-full-XXXXXX";
    ASSERT_NE(mkdtemp(directory.data()), nullptr);
    const bool allowed = CanMountSmallTmpfs(directory);
    if (!allowed) {
        rmdir(directory.c_str());
        GTEST_SKIP() << "this system allows no private mount of a small tmpfs";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(FactorOnAFullTmpfs(directory)), ::testing::ExitedWithCode(0), "");
    rmdir(directory.c_str());
}

TEST(Factor, HugeNumbersOnTwoThreadsAtOnce)
{
    Factorisation first;
    Factorisation second;
    std::thread a([&] {
        for (int i = 0; i < 3; ++i) first = Factor(kHardProduct);
    });
    std::thread b([&] {
        for (int i = 0; i < 3; ++i) second = Factor(kOtherProduct);
    });
    a.join();
    b.join();
    EXPECT_EQ(first, (Factorisation{{kPrimeBelow, 1}, {kPrimeAbove, 1}}));
    EXPECT_EQ(Expand(second), kOtherProduct);
    EXPECT_EQ(second.size(), 2U);
}

} // namespace
} // namespace fibmod
