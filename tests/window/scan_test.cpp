// SPDX-License-Identifier: MIT
// The scan of every modulus against the window's own procedures: the same
// lengths, residues and errors, whatever the inputs and the threads.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "core/engine/number_rules.h"
#include "core/engine/scan.h"
#include "core/window/input_fields.h"
#include "tests/support/collected_scan.h"
#include "tests/support/computation_fixture.h"
#include "tests/support/seeded_random.h"

namespace fibmod::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The residues the summary in kCommonMembersField lists after its heading.
std::vector<std::int64_t> SummaryResidues(std::string_view listing)
{
    const std::vector<std::string> all = Lines(listing);
    std::vector<std::int64_t> residues;
    bool inSummary = false;
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (inSummary && !all[k].empty()) residues.push_back(static_cast<std::int64_t>(ValueOfText(all[k])));
        if (all[k] == "die Reste") inSummary = true;
    }
    return residues;
}

// What the window shows for one modulus typed into kModulusField, as a scan row.
ScanRow WindowRow(FakeFields& fields, const InputTexts& texts, std::int32_t modulus)
{
    InputTexts typed = texts;
    typed.modulus = "";
    try {
        // Emptying the modulus takes the inputs over, which may already fail;
        // typing the modulus below fails the same way again.
        WriteInputs(fields, typed);
    } catch (const RunTimeError&) {
    }
    ScanRow row;
    row.modulus = modulus;
    try {
        fields.type(kModulusField, IntegerText(modulus));
    } catch (const RunTimeError& error) {
        row.failure = RowFailure{RowFailure::Kind::RunTimeError, error.number(), error.message()};
        return row;
    }
    row.length1 = static_cast<std::int32_t>(ValueOfText(fields.getText(kSequence1Fields.length)));
    row.length2 = static_cast<std::int32_t>(ValueOfText(fields.getText(kSequence2Fields.length)));
    row.residues = SummaryResidues(fields.getText(kCommonMembersField));
    EXPECT_EQ(IntegerText(row.commonCount()), fields.getText(kCommonCountField));
    return row;
}

TEST(ScanTest, GivesTheWorkedExamples)
{
    const auto rows = Scan(kDesignTimeInputs, {2, 5});
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 4u);
    const ScanRow& two = (*rows)[0];
    EXPECT_EQ(two.modulus, 2);
    EXPECT_EQ(two.length1, 1);
    EXPECT_EQ(two.length2, 1);
    EXPECT_THAT(two.residues, ElementsAre(1));
    const ScanRow& three = (*rows)[1];
    EXPECT_EQ(three.length1, 4);
    EXPECT_EQ(three.length2, 6);
    EXPECT_THAT(three.residues, ElementsAre(1, 2));
    EXPECT_THAT((*rows)[3].residues, ElementsAre(1));
    EXPECT_FALSE((*rows)[3].failed());
}

TEST(ScanTest, FlagsAFractionalCommonValueByItsNearestResidue)
{
    // 2.7 is its own cycle modulo 3 in both columns; it rounds up to 3 = M.
    const InputTexts texts{.s1 = "0",
                           .r1 = "1",
                           .first1 = "2.7",
                           .second1 = "2.7",
                           .s2 = "0",
                           .r2 = "1",
                           .first2 = "2.7",
                           .second2 = "2.7",
                           .modulus = ""};
    const ScanRow row = ScanModulus(ValuesOf(texts), 3);
    EXPECT_EQ(row.length1, 1);
    EXPECT_EQ(row.length2, 1);
    EXPECT_THAT(row.residues, ElementsAre(3));
    // Modulo 2 the term is 0.7, flagged as 1.
    EXPECT_THAT(ScanModulus(ValuesOf(texts), 2).residues, ElementsAre(1));
}

TEST(ScanTest, ARowOfExactly3000TermsHasItsLengthAndOneOf3001IsError9)
{
    // Counting by one from 0.5: exactly M terms modulo M, in doubles.
    InputTexts texts = kDesignTimeInputs;
    texts.r1 = texts.r2 = "2";
    texts.s1 = texts.s2 = "-1";
    texts.first1 = texts.first2 = "0.5";
    texts.second1 = texts.second2 = "1.5";
    const ScanRow full = ScanModulus(ValuesOf(texts), 3000);
    EXPECT_FALSE(full.failed()) << full.failureText();
    EXPECT_EQ(full.length1, 3000);
    EXPECT_EQ(full.length2, 3000);
    const ScanRow over = ScanModulus(ValuesOf(texts), 3001);
    ASSERT_TRUE(over.runTimeError());
    EXPECT_EQ(over.failure->error, 9);
}

TEST(ScanTest, CarriesARunTimeErrorInItsRowOnly)
{
    // A fractional coefficient makes the terms of sequence 2 fractional, so
    // that its start pair never comes back: error 9 past the 3000th term.
    InputTexts texts = kDesignTimeInputs;
    texts.r2 = "0.5";
    const auto rows = Scan(texts, {2, 4});
    ASSERT_TRUE(rows.has_value());
    for (const ScanRow& row : *rows) {
        ASSERT_TRUE(row.runTimeError()) << row.modulus;
        EXPECT_EQ(row.failure->error, 9) << row.modulus;
        EXPECT_EQ(row.failureText(), "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");
        EXPECT_THAT(row.residues, IsEmpty());
    }
    const ScanRow fine = ScanModulus(ValuesOf(kDesignTimeInputs), 4);
    EXPECT_FALSE(fine.failed());
}

TEST(ScanTest, AnUnreadableInputIsErrorSixInEveryRow)
{
    InputTexts texts = kDesignTimeInputs;
    texts.first1 = "1e400";
    const auto rows = Scan(texts, {1998, 2005});
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 8u);
    for (const ScanRow& row : *rows) EXPECT_EQ(row.failureText(), "Laufzeitfehler 6: Überlauf");
}

TEST(ScanTest, RowsDoNotDependOnTheNumberOfThreads)
{
    InputTexts texts = kDesignTimeInputs;
    texts.first2 = "2";
    texts.s1 = "3";
    ScanOptions one;
    one.threads = 1;
    ScanOptions several;
    several.threads = 5;
    const auto a = Scan(texts, {2, 400}, one);
    const auto b = Scan(texts, {2, 400}, several);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    for (std::size_t k = 0; k < a->size(); ++k) EXPECT_EQ((*a)[k].modulus, static_cast<int>(k) + 2);
}

TEST(ScanTest, HandsEveryRowOverOnceAndStopsWhenAsked)
{
    std::vector<std::int64_t> handed;
    std::atomic<int> asked{0};
    ScanOptions options;
    options.beforeModulus = [&asked](std::int64_t) { ++asked; };
    ASSERT_TRUE(ScanRows(kDesignTimeInputs, {2, 300}, options,
                         [&handed](ScanRow&& row) { handed.push_back(row.modulus); }));
    ASSERT_EQ(handed.size(), 299u);
    for (std::size_t k = 0; k < handed.size(); ++k) EXPECT_EQ(handed[k], static_cast<std::int64_t>(k) + 2);
    EXPECT_EQ(asked.load(), 299);
    options.beforeModulus = nullptr;

    std::stop_source stop;
    options.stop = stop.get_token();
    int after = 0;
    EXPECT_FALSE(ScanRows(kDesignTimeInputs, {2, 2000}, options, [&](ScanRow&&) {
        ++after;
        stop.request_stop();
    }));
    EXPECT_EQ(after, 1);
}

// Random inputs of every kind the window accepts: whole, fractional,
// negative and huge values, and texts that are only partly numbers.
class RandomInputs {
public:
    explicit RandomInputs(unsigned seed) : random_(seed) {}

    std::string value()
    {
        static const std::vector<std::string> special = {"0.5", "-2.5", "2.7", "1e300", "-1e300", "1e308",
                                                         "1.7976931348623157e308", "1e400", "12abc", "",
                                                         "-0", "3.5", "1 7", "2000.5", "4e-1"};
        if (pick(4) == 0) return special[pick(special.size())];
        return std::to_string(static_cast<long>(pick(30)) - 10);
    }

    InputTexts texts(std::vector<std::string>& store)
    {
        store.clear();
        for (int k = 0; k < 8; ++k) store.push_back(value());
        return {.s1 = store[0],
                .r1 = store[1],
                .first1 = store[2],
                .second1 = store[3],
                .s2 = store[4],
                .r2 = store[5],
                .first2 = store[6],
                .second2 = store[7],
                .modulus = ""};
    }

    std::int32_t modulus() { return static_cast<std::int32_t>(pick(3) == 0 ? 2 + pick(1999) : 2 + pick(60)); }

private:
    std::size_t pick(std::size_t n) { return random_.index(n); }

    SeededRandom random_;
};

using ScanAgainstWindowTest = ComputationTest;

TEST_F(ScanAgainstWindowTest, RowsEqualTheWindowsResultsForRandomInputs)
{
    constexpr unsigned kSeed = 20261208;
    RandomInputs random(kSeed);
    std::vector<std::string> store;
    int errors = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const InputTexts texts = random.texts(store);
        const std::int32_t modulus = random.modulus();
        const auto scanned = Scan(texts, {modulus, modulus});
        ASSERT_TRUE(scanned.has_value());
        ASSERT_EQ(scanned->size(), 1u);
        const ScanRow window = WindowRow(fields, texts, modulus);
        ASSERT_EQ(scanned->front(), window)
            << "seed " << kSeed << ", trial " << trial << ", M = " << modulus << ": r1 " << texts.r1 << ", s1 "
            << texts.s1 << ", start1 " << texts.first1 << "," << texts.second1 << ", r2 " << texts.r2 << ", s2 "
            << texts.s2 << ", start2 " << texts.first2 << "," << texts.second2;
        if (window.failed()) ++errors;
    }
    // The inputs reach both outcomes often enough to mean something.
    EXPECT_GT(errors, 40);
    EXPECT_LT(errors, 360);
}

} // namespace
} // namespace fibmod::testing
