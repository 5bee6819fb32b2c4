// Random operation sequences against a reference model of the registry. Every sequence
// starts from its own seed, so a failure names the seed that reproduces it; the report
// also lists the shortest failing sequence found by dropping steps.
//
// LUM_RANDOM_STEPS sets the total number of steps (100,000 by default; `make soak` runs
// ten million), LUM_RANDOM_SEED the first seed (1 by default).
#include "RegistryStateMachine.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

long long fromEnvironment(const char* name, long long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoll(value) : fallback;
}

// Long enough to fill the registry, open and close the dialog and dissolve groups many
// times; short enough that a model's destruction is checked often.
constexpr int kStepsPerSequence = 2000;

TEST(RegistryStateMachine, RandomSequencesKeepEveryInvariant) {
    const long long totalSteps = fromEnvironment("LUM_RANDOM_STEPS", 100000);
    const auto firstSeed = static_cast<std::uint64_t>(fromEnvironment("LUM_RANDOM_SEED", 1));
    lumtest::TempFolder folder;
    long long done = 0;
    for (std::uint64_t seed = firstSeed; done < totalSteps; ++seed) {
        const int steps =
            static_cast<int>(std::min<long long>(kStepsPerSequence, totalSteps - done));
        const lumtest::SequenceResult result =
            lumtest::runSeededSequence(folder.path() / "model", seed, steps);
        ASSERT_FALSE(result.failed) << result.report;
        done += steps;
    }
}

// The machine itself must notice a broken registry and name the seed and a short
// sequence: here a document registered behind its back whenever D2.dwg is registered.
TEST(RegistryStateMachine, ReportsABrokenRegistryWithSeedAndShortestSequence) {
    lumtest::TempFolder folder;
    const auto sneakIn = [](lumtest::RegistryStateMachine& machine) {
        TevDerivedDocumentsModel& model = machine.host().model();
        if (model.getAt(u"D2.dwg", TevDerDocEnums::eDocTypeDetail) != nullptr &&
            model.getAt(99, TevDerDocEnums::eDocTypeDetail) == nullptr) {
            model.addDetailDoc(99, u"..\\Details\\Sneaked.dwg", false, false, false);
        }
    };
    const lumtest::SequenceResult result =
        lumtest::runSeededSequence(folder.path() / "model", 3, 2000, sneakIn);
    ASSERT_TRUE(result.failed);
    EXPECT_EQ(result.report.rfind("seed 3 failed at step ", 0), 0U) << result.report;
    EXPECT_NE(result.report.find("the registry holds (0,3,99,Sneaked.dwg,\\Details\\,), which "
                                 "it must not"),
              std::string::npos)
        << result.report;
    // Registering D2.dwg, by a rename or an add, needs at most two steps.
    const std::string shortest = "shortest failing sequence (";
    const std::size_t at = result.report.find(shortest);
    ASSERT_NE(at, std::string::npos) << result.report;
    EXPECT_LE(std::stoi(result.report.substr(at + shortest.size())), 2) << result.report;
}

// An assertion that the step did not expect is a failure too.
TEST(RegistryStateMachine, ReportsAnUnexpectedAssertion) {
    lumtest::TempFolder folder;
    lumtest::RegistryStateMachine machine(folder.path());
    machine.setAfterStep(
        [](lumtest::RegistryStateMachine& m) { m.host().model().removeDoc(TevDerivedDocKey()); });
    lumtest::SeededChoices choices(5);
    machine.step(choices);
    EXPECT_EQ(machine.failure().rfind("assertions reported: \"0\" (in ", 0), 0U)
        << machine.failure();
}

} // namespace
