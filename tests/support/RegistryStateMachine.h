// Test support: drives one model of the recording fake host through random sequences
// of the public operations (registration, removal, renames, resets, files appearing and
// disappearing, objects, update requirements, duplicate groups, the document-manager
// table and its dialog) and checks it after every step against a small reference model
// of what the registry must hold. The randomized test and the registry fuzzer share it;
// they differ only in where the choices come from.
#ifndef LUM_TEST_REGISTRY_STATE_MACHINE_H
#define LUM_TEST_REGISTRY_STATE_MACHINE_H

#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TevProcessEvolutionManager.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace lumtest {

// Where a sequence's choices come from. pick(bound) answers a value below `bound`
// (0 when `bound` is 0 or 1).
class ChoiceSource {
public:
    virtual ~ChoiceSource() = default;
    virtual unsigned pick(unsigned bound) = 0;
};

// Choices from a seed (splitmix64): the same seed gives the same sequence everywhere.
class SeededChoices : public ChoiceSource {
public:
    explicit SeededChoices(std::uint64_t seed)
        : m_state(seed) {}
    unsigned pick(unsigned bound) override;

private:
    std::uint64_t m_state;
};

// Choices read from bytes (a fuzzer's input), two bytes per choice; 0 once they run out.
class ByteChoices : public ChoiceSource {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size) {}
    unsigned pick(unsigned bound) override;
    bool exhausted() const { return m_next >= m_size; }

private:
    const std::uint8_t* m_data; // Not owned; valid while the choices are read.
    std::size_t m_size;
    std::size_t m_next = 0;
};

// The raw values one step drew, so that a step can be replayed on its own.
using StepChoices = std::vector<unsigned>;

class RegistryStateMachine {
public:
    // `folder` is an existing, empty folder: documents' files are created and deleted
    // in it.
    explicit RegistryStateMachine(std::filesystem::path folder);
    RegistryStateMachine(const RegistryStateMachine&) = delete;
    RegistryStateMachine& operator=(const RegistryStateMachine&) = delete;
    ~RegistryStateMachine();

    // Carries out one operation chosen through `choices` and checks every invariant.
    // Answers what it did, for a failure report.
    std::string step(ChoiceSource& choices);

    // Destroys the model and checks that every document and object went back to the
    // factory exactly once.
    void finish();

    // The first broken invariant, or empty while all hold.
    const std::string& failure() const { return m_failure; }

    // For tests of the machine itself: the host, and a hook run after each operation,
    // before the checks, that may break the registry behind the machine's back.
    FakeHost& host() { return *m_host; }
    using StepHook = std::function<void(RegistryStateMachine&)>;
    void setAfterStep(StepHook hook) { m_afterStep = std::move(hook); }

private:
    using Key = std::tuple<int, int, std::int64_t, std::string, std::string, std::string>;
    struct Operation;
    static const Operation kOperations[];

    // Operations.
    std::string addDetail(ChoiceSource& c);
    std::string addBom(ChoiceSource& c);
    std::string addNC(ChoiceSource& c);
    std::string removeDoc(ChoiceSource& c);
    std::string unregistDoc(ChoiceSource& c);
    std::string rename(ChoiceSource& c);
    std::string resetByType(ChoiceSource& c);
    std::string deleteMissingFiles(ChoiceSource& c);
    std::string toggleFile(ChoiceSource& c);
    std::string addObject(ChoiceSource& c);
    std::string deleteObject(ChoiceSource& c);
    std::string resetDocument(ChoiceSource& c);
    std::string maintainDocument(ChoiceSource& c);
    std::string switchUpdateRequirement(ChoiceSource& c);
    std::string formGroup(ChoiceSource& c);
    std::string leaveGroup(ChoiceSource& c);
    std::string attachTable(ChoiceSource& c);
    std::string openManager(ChoiceSource& c);
    std::string appendRows(ChoiceSource& c);
    std::string refreshRows(ChoiceSource& c);
    std::string removeRows(ChoiceSource& c);
    std::string sendMessage(ChoiceSource& c);
    std::string query(ChoiceSource& c);
    std::string loadAndCheck(ChoiceSource& c);
    std::string drawingNumbers(ChoiceSource& c);

    // Registration shared by the three add operations: `create` registers, `key` is
    // the key the new document must carry.
    template <class Create>
    std::string registerDocument(ChoiceSource& c, const Key& key, Create create);

    // Reference model and invariants.
    void check(const std::string& what);
    void checkRegistry();
    void checkObjects();
    void checkGroups();
    void checkTable();
    void fail(const std::string& message);
    void expectAssertion(const char* text) { m_expectedAssertions.emplace_back(text); }
    void forgetDeadObjects();
    void removeFromReferenceGroup(const TevDerivedObject* obj);
    void referenceAppendGroup(const std::vector<TevDerivedObject*>& objects);

    TevDerivedDocument* pickDocument(ChoiceSource& c);
    TevDerivedObject* pickObject(ChoiceSource& c);
    std::vector<TevDerivedObject*> liveObjects() const;
    static Key keyOf(const TevDerivedDocKey& key);
    static std::string describe(const Key& key);
    TevDerivedDocKey libraryKey(const Key& key) const;
    bool fileExists(const Key& key) const;
    DocumentScript* scriptOf(TevDerivedDocument* doc) const;

    std::filesystem::path m_folder;
    std::unique_ptr<FakeHost> m_host; // Owned; null after finish.
    ScopedAssertionRecorder m_assertions;
    TevProcessEvolutionManager m_progress;
    TevArray<TevDocManObject> m_table; // the host's table, attached or not
    bool m_tableAttached = false;
    bool m_managerOpen = false;
    std::map<Key, TevDerivedDocument*> m_docs;            // what the registry must hold
    std::vector<std::vector<TevDerivedObject*>> m_groups; // what the groups must be
    std::vector<TevDerivedObject*> m_knownObjects;        // live before the step
    std::vector<std::string> m_expectedAssertions;
    std::string m_failure;
    StepHook m_afterStep;
};

// Runs sequences and reports a failure with its seed and the shortest failing sequence
// found by dropping steps.
struct SequenceResult {
    bool failed = false;
    std::string report; // seed, failing step, the shortened sequence and what broke
};

// One sequence of `steps` steps from `seed`, run in a fresh model in `folder` (emptied
// first); `afterStep` goes to every machine the run and its shortening make.
SequenceResult runSeededSequence(const std::filesystem::path& folder, std::uint64_t seed, int steps,
                                 const RegistryStateMachine::StepHook& afterStep = {});

} // namespace lumtest

#endif // LUM_TEST_REGISTRY_STATE_MACHINE_H
