// The registry as a whole: the fuzzer's bytes choose a sequence of operations on one
// model of the recording fake host (registration, removal, renames, resets, files
// created and deleted, objects, update requirements, duplicate groups, the
// document-manager table and its dialog), and after every step the model is checked
// against the reference model of the randomized test (tests/support): one document per
// key, every document and object created is registered or disposed of, no group holds
// a disposed object, no row points at one once the dialog is closed, and no assertion
// is reported but those the step expects. Two bytes make one choice; a sequence ends
// with the input, after at most kMaxSteps steps, and then the model is destroyed and
// the factory must have every document and object back.
#include "FuzzSupport.h"
#include "RegistryStateMachine.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

constexpr int kMaxSteps = 400;

// One folder per fuzzing process, emptied before every input.
const std::filesystem::path& modelFolder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("lum-fuzz-registry-" + std::to_string(static_cast<long>(getpid())));
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::error_code ignored;
    std::filesystem::remove_all(modelFolder(), ignored);
    std::filesystem::create_directories(modelFolder());
    std::string failure;
    std::string trace;
    {
        lumtest::RegistryStateMachine machine(modelFolder());
        lumtest::ByteChoices choices(data, size);
        for (int step = 0; step < kMaxSteps && !choices.exhausted() && machine.failure().empty();
             ++step) {
            trace += "  " + std::to_string(step) + ": " + machine.step(choices) + "\n";
        }
        machine.finish();
        failure = machine.failure();
    }
    std::filesystem::remove_all(modelFolder(), ignored);
    LUM_FUZZ_CHECK(failure.empty(), failure + "\nsteps:\n" + trace);
    return 0;
}
