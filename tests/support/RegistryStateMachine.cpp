#include "RegistryStateMachine.h"

#include "TevDerivedObjectDuplicateInfo.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace lumtest {
using E = TevDerDocEnums;

unsigned SeededChoices::pick(unsigned bound) {
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return bound <= 1 ? 0U : static_cast<unsigned>(z % bound);
}

unsigned ByteChoices::pick(unsigned bound) {
    unsigned value = 0;
    for (int i = 0; i < 2 && m_next < m_size; ++i) {
        value = (value << 8) | m_data[m_next++];
    }
    return bound <= 1 ? 0U : value % bound;
}

namespace {

// Every document the sequences may register. Several share a hash bucket or differ
// only in a field that takes no part in the file name, so that lookups must compare
// whole keys.
struct DetailEntry {
    std::int64_t id;
    const char* path;
    const char* fileName; // what the key must hold
};
const DetailEntry kDetails[] = {
    {1, "..\\Details\\D1.dwg", "D1.dwg"},
    {2, "..\\Details\\D2.dwg", "D2.dwg"},
    {4294967297LL, "..\\Details\\D1.dwg", "D1.dwg"}, // the hash of id 1, another key
    {3, "..\\Details\\D3", "D3.dwg"},                // the kind adds the extension
    {-7, "..\\Details\\d1.DWG", "d1.DWG"},
};

struct BomEntry {
    int number;
    const char* path;
    const char* relPath;
    const char* fileName;
};
const BomEntry kBoms[] = {
    {10, "..\\BOM\\L10.txt", "\\BOM\\", "L10.txt"},
    {11, "..\\DSTV\\L11.txt", "\\DSTV\\", "L11.txt"}, // answered as a DSTV list
    {12, "L12.txt", "\\BOM\\", "L12.txt"},
};
const int kDstvReport = 11;

struct NCEntry {
    const char* path;
    E::eDocSubType subType;
    const char* ncName;
    bool ncFlag;
    const char* fileName;
};
const NCEntry kNCs[] = {
    {"NC\\P1.nc1", E::eDocSubTypeNCNamed, "P1", true, "P1.nc1"},
    {"NC\\P1.nc1", E::eDocSubTypeNCNamed, "P1", false, "P1.nc1"}, // id 1 instead of 0
    {"NC\\P2.dxf", E::eDocSubTypeNCDxf, "p2.dxf", true, "P2.dxf"},
    {"NC\\P3.nc1", E::eDocSubTypeDstv, "", true, "P3.nc1"},
};

// File names that renames give, and that files are created under.
const char* const kFileNames[] = {"D1.dwg",  "D2.dwg", "D3.dwg", "L10.txt",
                                  "L11.txt", "P1.nc1", "P2.dxf", "R9.dwg"};
const char* const kFolders[] = {"Details", "BOM", "DSTV", "NC"};

template <class T, std::size_t N>
constexpr unsigned countOf(const T (&)[N]) {
    return static_cast<unsigned>(N);
}

bool chance(ChoiceSource& c, unsigned inEight) {
    return c.pick(8) < inEight;
}

E::eDocType pickType(ChoiceSource& c) {
    return static_cast<E::eDocType>(c.pick(4));
}

std::string flagText(bool value) {
    return value ? "1" : "0";
}

// The first fault the fakes reported while a machine runs.
std::string g_hostFault;

void recordHostFault(const std::string& message) {
    if (g_hostFault.empty()) {
        g_hostFault = message;
    }
}

} // namespace

struct RegistryStateMachine::Operation {
    const char* name;
    unsigned weight;
    std::string (RegistryStateMachine::*run)(ChoiceSource&);
};

const RegistryStateMachine::Operation RegistryStateMachine::kOperations[] = {
    {"addDetail", 6, &RegistryStateMachine::addDetail},
    {"addBom", 3, &RegistryStateMachine::addBom},
    {"addNC", 4, &RegistryStateMachine::addNC},
    {"removeDoc", 2, &RegistryStateMachine::removeDoc},
    {"unregistDoc", 2, &RegistryStateMachine::unregistDoc},
    {"rename", 3, &RegistryStateMachine::rename},
    {"resetByType", 1, &RegistryStateMachine::resetByType},
    {"deleteMissingFiles", 2, &RegistryStateMachine::deleteMissingFiles},
    {"toggleFile", 4, &RegistryStateMachine::toggleFile},
    {"addObject", 4, &RegistryStateMachine::addObject},
    {"deleteObject", 3, &RegistryStateMachine::deleteObject},
    {"resetDocument", 1, &RegistryStateMachine::resetDocument},
    {"maintainDocument", 3, &RegistryStateMachine::maintainDocument},
    {"switchUpdateRequirement", 3, &RegistryStateMachine::switchUpdateRequirement},
    {"formGroup", 4, &RegistryStateMachine::formGroup},
    {"leaveGroup", 3, &RegistryStateMachine::leaveGroup},
    {"attachTable", 2, &RegistryStateMachine::attachTable},
    {"openManager", 3, &RegistryStateMachine::openManager},
    {"appendRows", 4, &RegistryStateMachine::appendRows},
    {"refreshRows", 3, &RegistryStateMachine::refreshRows},
    {"removeRows", 3, &RegistryStateMachine::removeRows},
    {"sendMessage", 5, &RegistryStateMachine::sendMessage},
    {"query", 2, &RegistryStateMachine::query},
    {"loadAndCheck", 2, &RegistryStateMachine::loadAndCheck},
    {"drawingNumbers", 1, &RegistryStateMachine::drawingNumbers},
};

RegistryStateMachine::RegistryStateMachine(std::filesystem::path folder)
    : m_folder(std::move(folder)) {
    for (const char* sub : kFolders) {
        std::filesystem::create_directories(m_folder / sub);
    }
    m_host = std::make_unique<FakeHost>(TevString(m_folder.generic_u8string().c_str()));
    m_host->reportManager.dstvReports = {kDstvReport};
    // The host's model adds one update-only object to a detail that requires an update
    // and has none yet.
    m_host->model().addUpdOnly = [this](TevDerivedDocument* doc) {
        TevArray<TevDerivedObject*> objects;
        doc->getDerivedObjects(objects, E::eDocTypeAll);
        for (const TevDerivedObject* obj : objects) {
            if (obj->isUpdOnlyObject()) {
                return;
            }
        }
        FakeDetailObject* obj = m_host->factory.makeDetailObject(doc, 0, u"U", "upd-only");
        obj->setUpdOnlyObject();
        doc->addDerivedObject(obj, false);
    };
    g_hostFault.clear();
    setHostFaultHandler(&recordHostFault);
}

RegistryStateMachine::~RegistryStateMachine() {
    if (m_host != nullptr) {
        finish();
    }
    setHostFaultHandler(nullptr);
    TevProcessEvolutionManager::setProcessEvolutionManager(nullptr);
}

std::string RegistryStateMachine::step(ChoiceSource& choices) {
    unsigned total = 0;
    for (const Operation& op : kOperations) {
        total += op.weight;
    }
    unsigned ticket = choices.pick(total);
    const Operation* chosen = &kOperations[0];
    for (const Operation& op : kOperations) {
        if (ticket < op.weight) {
            chosen = &op;
            break;
        }
        ticket -= op.weight;
    }
    m_knownObjects = liveObjects();
    m_expectedAssertions.clear();
    m_host->log.clear();
    const std::string what = chosen->name + std::string(" ") + (this->*chosen->run)(choices);
    if (m_afterStep) {
        m_afterStep(*this);
    }
    check(what);
    return what;
}

void RegistryStateMachine::finish() {
    m_host->destroyModel();
    if (m_host->factory.liveDocuments() != 0 || m_host->factory.liveObjects() != 0) {
        fail("after the model was destroyed, " + std::to_string(m_host->factory.liveDocuments()) +
             " documents and " + std::to_string(m_host->factory.liveObjects()) +
             " objects were never disposed of");
    }
    if (!g_hostFault.empty()) {
        fail("host fault while the model was destroyed: " + g_hostFault);
    }
    const std::vector<std::string> reported = m_assertions.take();
    if (!reported.empty()) {
        fail("the destruction reported the assertion \"" + reported.front() + "\"");
    }
    m_host.reset();
}

// Operations. Each answers its arguments as text and updates the reference model with
// what the registry must hold afterwards.

template <class Create>
std::string RegistryStateMachine::registerDocument(ChoiceSource& c, const Key& key, Create create) {
    const bool update = chance(c, 2);
    const bool checkFile = chance(c, 3);
    const bool resetStatus = chance(c, 4);
    const bool refuse = chance(c, 1); // the document answers no object
    const auto prior = m_docs.find(key);
    TevDerivedDocument* const earlier = prior != m_docs.end() ? prior->second : nullptr;
    const auto refusal = [](TevDerivedDocument&, bool, bool, bool, bool) { return 0; };
    if (refuse) {
        m_host->factory.documentScript.addAll = refusal;
        if (earlier != nullptr) {
            scriptOf(earlier)->addAll = refusal;
        }
    }
    TevDerivedDocument* const doc = create(update, checkFile, resetStatus);
    m_host->factory.documentScript.addAll = nullptr;
    if (earlier != nullptr && m_host->factory.isLive(earlier)) {
        scriptOf(earlier)->addAll = nullptr;
    }
    const std::string args =
        describe(key) + " update=" + flagText(update) + " checkFile=" + flagText(checkFile) +
        " resetStatus=" + flagText(resetStatus) + " refuse=" + flagText(refuse);
    if (refuse) {
        if (doc != nullptr) {
            fail("a document that answered no object was registered");
        }
        m_docs.erase(key);
        return args;
    }
    if (doc == nullptr) {
        // The kind's own object creation may refuse (a missing file with checkFile).
        m_docs.erase(key);
        return args;
    }
    if (earlier != nullptr && doc != earlier) {
        fail("registering a key again answered another document than the registered one");
    }
    if (keyOf(doc->getKey()) != key) {
        fail("the registered document carries the key " + describe(keyOf(doc->getKey())));
    }
    m_docs[key] = doc;
    return args;
}

std::string RegistryStateMachine::addDetail(ChoiceSource& c) {
    const DetailEntry& entry = kDetails[c.pick(countOf(kDetails))];
    const Key key{E::eDocTypeDetail, E::eDocSubTypeNone, entry.id,
                  entry.fileName,    "\\Details\\",      ""};
    return registerDocument(c, key, [&](bool update, bool checkFile, bool resetStatus) {
        return m_host->model().addDetailDoc(entry.id, entry.path, update, checkFile, resetStatus);
    });
}

std::string RegistryStateMachine::addBom(ChoiceSource& c) {
    const BomEntry& entry = kBoms[c.pick(countOf(kBoms))];
    const bool dstv = entry.number == kDstvReport;
    const Key key{E::eDocTypeBom, dstv ? E::eDocSubTypeDstv : E::eDocSubTypeNone,
                  entry.number,   entry.fileName,
                  entry.relPath,  ""};
    return registerDocument(c, key, [&](bool update, bool checkFile, bool resetStatus) {
        StructProjReport report;
        report.m_number = entry.number;
        report.m_filePath = entry.path;
        return m_host->model().addBomDoc(report, update, checkFile, resetStatus);
    });
}

std::string RegistryStateMachine::addNC(ChoiceSource& c) {
    const NCEntry& entry = kNCs[c.pick(countOf(kNCs))];
    const Key key{E::eDocTypeNC,  entry.subType, entry.ncFlag ? 0 : 1,
                  entry.fileName, "\\NC\\",      entry.ncName};
    return registerDocument(c, key, [&](bool update, bool checkFile, bool resetStatus) {
        return m_host->model().addNCDoc(entry.path, entry.subType, entry.ncName, entry.ncFlag,
                                        update, checkFile, resetStatus);
    });
}

// A registered key most of the time, else one of the pool's keys, registered or not.
std::string RegistryStateMachine::removeDoc(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    const Key key =
        doc != nullptr && chance(c, 6)
            ? keyOf(doc->getKey())
            : Key{E::eDocTypeDetail, E::eDocSubTypeNone, kDetails[c.pick(countOf(kDetails))].id,
                  "D1.dwg",          "\\Details\\",      ""};
    const bool registered = m_docs.count(key) != 0;
    if (!registered) {
        expectAssertion("0");
    }
    if (m_host->model().removeDoc(libraryKey(key)) != registered) {
        fail("removeDoc answered " + flagText(!registered));
    }
    m_docs.erase(key);
    return describe(key);
}

std::string RegistryStateMachine::unregistDoc(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    if (doc == nullptr || chance(c, 1)) {
        const Key key{E::eDocTypeNC, E::eDocSubTypeNCNamed, 5, "none.nc1", "\\NC\\", ""};
        if (m_host->model().unregistDoc(libraryKey(key)) != E::eStatusFailed) {
            fail("unregistDoc of an unregistered key did not answer 2002");
        }
        return "unregistered key";
    }
    const Key key = keyOf(doc->getKey());
    const int answer = static_cast<int>(c.pick(3)) - 1; // -1: the kind's own answer
    scriptOf(doc)->deregistResult = answer;
    const E::ErrorStatus status = m_host->model().unregistDoc(libraryKey(key));
    if (answer >= 0 && status != (answer != 0 ? E::eStatusOk : E::eStatusFailed)) {
        fail("unregistDoc answered " + std::to_string(status) + " for deregistFromModel " +
             std::to_string(answer));
    }
    m_docs.erase(key);
    return describe(key) + " deregist=" + std::to_string(answer);
}

std::string RegistryStateMachine::rename(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    const std::string newName = kFileNames[c.pick(countOf(kFileNames))];
    if (doc == nullptr) {
        m_host->model().derivedDocFileNameChanged(TevDerivedDocKey(), newName.c_str(), u"");
        return "unregistered key to " + newName;
    }
    const Key oldKey = keyOf(doc->getKey());
    Key newKey = oldKey;
    std::get<3>(newKey) = newName;
    const std::string newPath = "..\\Renamed\\" + newName;
    m_host->model().derivedDocFileNameChanged(libraryKey(oldKey), newPath.c_str(), u"other");
    m_docs.erase(oldKey);
    if (m_docs.count(newKey) == 0) {
        m_docs[newKey] = doc;
    }
    // Otherwise the renamed document met a registered one and went back to the factory.
    return describe(oldKey) + " to " + newName;
}

std::string RegistryStateMachine::resetByType(ChoiceSource& c) {
    const unsigned type = c.pick(9) == 0 ? 4U : c.pick(4);
    if (type > E::eDocTypeAll) {
        expectAssertion("false");
    }
    m_host->model().resetDerivedDocs(static_cast<E::eDocType>(type));
    for (auto it = m_docs.begin(); it != m_docs.end();) {
        const bool matches = type == E::eDocTypeAll || std::get<0>(it->first) == int(type);
        it = matches ? m_docs.erase(it) : std::next(it);
    }
    return "type=" + std::to_string(type);
}

std::string RegistryStateMachine::deleteMissingFiles(ChoiceSource& c) {
    const E::eDocType type = pickType(c);
    std::set<Key> gone;
    for (const auto& entry : m_docs) {
        if ((type == E::eDocTypeAll || std::get<0>(entry.first) == type) &&
            !fileExists(entry.first)) {
            gone.insert(entry.first);
        }
    }
    m_host->model().deleteMissingFileDocs(type);
    for (const Key& key : gone) {
        m_docs.erase(key);
    }
    return "type=" + std::to_string(type);
}

std::string RegistryStateMachine::toggleFile(ChoiceSource& c) {
    const std::filesystem::path file =
        m_folder / kFolders[c.pick(countOf(kFolders))] / kFileNames[c.pick(countOf(kFileNames))];
    if (std::filesystem::exists(file)) {
        std::filesystem::remove(file);
        return "deleted " + file.filename().string();
    }
    std::ofstream(file) << "x";
    return "created " + file.filename().string();
}

std::string RegistryStateMachine::addObject(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    if (doc == nullptr) {
        return "no document";
    }
    const std::int64_t id = c.pick(5);
    TevString handle;
    handle.format(u"X%d", static_cast<int>(c.pick(100)));
    if (!doc->addDerivedObject(m_host->factory.makeDetailObject(doc, id, handle), false)) {
        fail("addDerivedObject refused a new object");
    }
    return describe(keyOf(doc->getKey()));
}

std::string RegistryStateMachine::deleteObject(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    TevArray<TevDerivedObject*> objects;
    if (doc != nullptr) {
        doc->getDerivedObjects(objects, E::eDocTypeAll);
    }
    if (objects.isEmpty()) {
        return "no object";
    }
    const int index = static_cast<int>(c.pick(static_cast<unsigned>(objects.length())));
    const bool tellModel = chance(c, 4); // the host may or may not tell the model first
    if (tellModel) {
        m_host->model().derivedObjectDeleted(objects[index]);
    }
    const int answer =
        chance(c, 4) ? doc->deleteDerivedObject(index) : doc->deleteDerivedObject(objects[index]);
    if (answer != 1) {
        fail("deleteDerivedObject answered " + std::to_string(answer));
    }
    return describe(keyOf(doc->getKey())) + " index=" + std::to_string(index) +
           " tellModel=" + flagText(tellModel);
}

std::string RegistryStateMachine::resetDocument(ChoiceSource& c) {
    if (chance(c, 4)) {
        const std::int64_t id = kDetails[c.pick(countOf(kDetails))].id;
        m_host->model().modifiedExternallyAt(id);
        return "modifiedExternallyAt " + std::to_string(id);
    }
    TevDerivedDocument* doc = pickDocument(c);
    if (doc == nullptr) {
        return "no document";
    }
    doc->reset();
    return describe(keyOf(doc->getKey()));
}

// The document operations a host calls on its own: update-only objects, statuses and
// the cached infos.
std::string RegistryStateMachine::maintainDocument(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    if (doc == nullptr) {
        return "no document";
    }
    const std::string name = describe(keyOf(doc->getKey()));
    switch (c.pick(6)) {
    case 0:
        doc->addUpdOnlyDerivedObjects(chance(c, 4), chance(c, 4));
        return "addUpdOnlyDerivedObjects " + name;
    case 1:
        doc->resetUpdOnlyDerivedObjects();
        return "resetUpdOnlyDerivedObjects " + name;
    case 2:
        doc->getUpdateAllDerObjs(chance(c, 4));
        return "getUpdateAllDerObjs " + name;
    case 3:
        doc->setStatusOfDerObjects(chance(c, 4) ? E::eStatusUndetermined : E::eStatusFileMissing);
        return "setStatusOfDerObjects " + name;
    case 4:
        doc->fillInfoAllDerObjs(chance(c, 4));
        return "fillInfoAllDerObjs " + name;
    default: {
        const E::eDerivedDocInfo what[] = {E::eDerivedDocInfoAll, E::eDerivedDocInfoRevisions,
                                           E::eDerivedDocInfoDwgNo, E::eDerivedDocInfoApproval,
                                           E::eDerivedDocInfoCheckStatus};
        doc->refreshInfo(what[c.pick(5)]);
        return "refreshInfo " + name;
    }
    }
}

std::string RegistryStateMachine::switchUpdateRequirement(ChoiceSource& c) {
    const bool value = chance(c, 4);
    if (chance(c, 4)) {
        TevDerivedDocument* doc = pickDocument(c);
        if (doc != nullptr) {
            doc->setHasUpdReq(value);
        }
        return "document " + flagText(value);
    }
    TevDerivedObject* obj = pickObject(c);
    if (obj != nullptr) {
        if (chance(c, 2)) {
            obj->setUpdOnlyObject();
        }
        obj->setHasUpdReq(value);
    }
    return "object " + flagText(value);
}

std::string RegistryStateMachine::formGroup(ChoiceSource& c) {
    const std::vector<TevDerivedObject*> live = liveObjects();
    if (live.empty()) {
        return "no object";
    }
    TevArray<TevDerivedObject*> set;
    std::vector<TevDerivedObject*> given;
    const unsigned count = 1 + c.pick(4);
    for (unsigned i = 0; i < count; ++i) {
        TevDerivedObject* obj = live[c.pick(static_cast<unsigned>(live.size()))];
        set.append(obj);
        given.push_back(obj);
    }
    m_host->model().appendDuplicateObjects(set);
    referenceAppendGroup(given);
    return std::to_string(count) + " objects";
}

std::string RegistryStateMachine::leaveGroup(ChoiceSource& c) {
    TevDerivedObject* obj = pickObject(c);
    if (obj == nullptr) {
        return "no object";
    }
    const bool deleted = chance(c, 4);
    if (deleted) {
        m_host->model().derivedObjectDeleted(obj);
    } else {
        m_host->model().removeObjectFromDuplicate(obj);
    }
    removeFromReferenceGroup(obj);
    return deleted ? "derivedObjectDeleted" : "removeObjectFromDuplicate";
}

// Attaching gives the model the host's table; detaching also discards the table's rows,
// as a host does when its dialog goes away.
std::string RegistryStateMachine::attachTable(ChoiceSource&) {
    if (m_tableAttached) {
        if (m_host->model().setDocManObjects(nullptr) != 0) {
            fail("detaching the table did not answer 0");
        }
        m_table.setLength(0);
        m_tableAttached = false;
        return "detach";
    }
    if (m_host->model().setDocManObjects(&m_table) != 1) {
        fail("attaching the table did not answer 1");
    }
    m_tableAttached = true;
    return "attach";
}

std::string RegistryStateMachine::openManager(ChoiceSource& c) {
    m_managerOpen = chance(c, 4);
    m_host->model().setDocumentsManagerOpen(m_managerOpen);
    return m_managerOpen ? "open" : "close";
}

std::string RegistryStateMachine::appendRows(ChoiceSource& c) {
    if (!m_tableAttached) {
        return "no table";
    }
    if (chance(c, 4)) {
        for (const auto& entry : m_docs) {
            entry.second->addDocManObjects(&m_table);
        }
        return "every document";
    }
    TevDerivedObject* obj = pickObject(c);
    if (obj == nullptr) {
        return "no object";
    }
    const auto filter = static_cast<E::eDocSubType>(c.pick(5));
    obj->appendDocManObject(&m_table, filter);
    return "one object, filter " + std::to_string(filter);
}

std::string RegistryStateMachine::refreshRows(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    if (!m_tableAttached || doc == nullptr) {
        return "nothing";
    }
    doc->updateDocManInformations(&m_table);
    return describe(keyOf(doc->getKey()));
}

std::string RegistryStateMachine::removeRows(ChoiceSource& c) {
    TevDerivedDocument* doc = pickDocument(c);
    if (!m_tableAttached || doc == nullptr) {
        return "nothing";
    }
    if (chance(c, 2)) {
        // The host drops the document's rows itself and tells the objects to forget
        // them.
        doc->removeFromTable();
        for (int i = m_table.length() - 1; i >= 0; --i) {
            if (!m_table[i].m_removed && m_table[i].m_derivedObject->getDerivedDoc() == doc) {
                m_table.removeAt(i);
            }
        }
        return "forget " + describe(keyOf(doc->getKey()));
    }
    doc->removeDocManInformations(&m_table);
    return describe(keyOf(doc->getKey()));
}

// The host sends commands only for rows it shows: rows not marked as removed.
std::string RegistryStateMachine::sendMessage(ChoiceSource& c) {
    std::vector<int> shown;
    for (int i = 0; i < m_table.length(); ++i) {
        if (!m_table[i].m_removed && m_table[i].m_derivedObject != nullptr) {
            shown.push_back(i);
        }
    }
    if (!m_tableAttached || shown.empty()) {
        return "no row";
    }
    const int index = shown[c.pick(static_cast<unsigned>(shown.size()))];
    const int message = static_cast<int>(c.pick(17)) - 1;
    const bool flag = chance(c, 4);
    const int approval = static_cast<int>(c.pick(3));
    TevDocManObject& row = m_table[index];
    row.m_newName = u"Renamed.dwg";
    row.m_newApprovalComment = u"checked";
    m_host->model().newUpdate = static_cast<E::ErrorStatus>(chance(c, 6) ? 0 : 3);
    int out = 0;
    row.m_derivedObject->updateDocManObject(row, message, flag, out, approval);
    return "row " + std::to_string(index) + " message " + std::to_string(message);
}

std::string RegistryStateMachine::query(ChoiceSource& c) {
    const E::eDocType type = pickType(c);
    TevDerivedDocumentsModel& model = m_host->model();
    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocsOfType(docs, type);
    std::size_t expected = 0;
    for (const auto& entry : m_docs) {
        expected += type == E::eDocTypeAll || std::get<0>(entry.first) == type ? 1 : 0;
    }
    if (static_cast<std::size_t>(docs.length()) != expected) {
        fail("getDerivedDocsOfType gave " + std::to_string(docs.length()) + " documents, not " +
             std::to_string(expected));
    }
    TevArray<TevDerivedObject*> objects;
    model.getDerivedObjectsOfType(objects, type);
    int expectedObjects = 0;
    for (const auto& entry : m_docs) {
        TevArray<TevDerivedObject*> own;
        entry.second->getDerivedObjects(own, type);
        expectedObjects +=
            std::get<0>(entry.first) == type || type == E::eDocTypeAll ? own.length() : 0;
    }
    if (objects.length() != expectedObjects) {
        fail("getDerivedObjectsOfType gave " + std::to_string(objects.length()) + " objects, not " +
             std::to_string(expectedObjects));
    }
    for (TevDerivedObject* obj : objects) {
        if (!m_host->factory.isLive(obj)) {
            fail("getDerivedObjectsOfType gave a disposed object");
        }
    }
    // Lookups by id and by name find a registered document of that id or name.
    const DetailEntry& wanted = kDetails[c.pick(countOf(kDetails))];
    const TevDerivedDocument* byId = model.getAt(wanted.id, E::eDocTypeDetail);
    const bool idRegistered = std::any_of(m_docs.begin(), m_docs.end(), [&](const auto& entry) {
        return std::get<0>(entry.first) == E::eDocTypeDetail &&
               std::get<2>(entry.first) == wanted.id;
    });
    if ((byId != nullptr) != idRegistered ||
        (byId != nullptr && byId->getKey().m_id != wanted.id)) {
        fail("getAt by id " + std::to_string(wanted.id) + " is wrong");
    }
    const std::string name = kFileNames[c.pick(countOf(kFileNames))];
    const TevDerivedDocument* byName = model.getAt(TevString(name.c_str()), type);
    if (byName != nullptr && TevString::compareNoCase(byName->getFileName(), name.c_str()) != 0) {
        fail("getAt by name " + name + " found " + text(byName->getFileName()));
    }
    return "type=" + std::to_string(type);
}

std::string RegistryStateMachine::loadAndCheck(ChoiceSource& c) {
    const E::eDocType type = pickType(c);
    if (chance(c, 4)) {
        m_host->model().addDerivedDocs(type, chance(c, 4));
        return "addDerivedDocs type=" + std::to_string(type);
    }
    const bool installed = chance(c, 6);
    TevProcessEvolutionManager::setProcessEvolutionManager(installed ? &m_progress : nullptr);
    const bool withProgress = chance(c, 4);
    if (withProgress && !installed) {
        expectAssertion("pManager");
    }
    m_host->model().checkHasUpdReqForDerivedDocs(type, withProgress);
    return "checkHasUpdReq type=" + std::to_string(type) + " progress=" + flagText(withProgress) +
           " manager=" + flagText(installed);
}

std::string RegistryStateMachine::drawingNumbers(ChoiceSource&) {
    TevArray<TevString> prefixes, numbers, names, fullNames;
    m_host->model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, names, fullNames);
    const auto details = std::count_if(m_docs.begin(), m_docs.end(), [](const auto& entry) {
        return std::get<0>(entry.first) == E::eDocTypeDetail;
    });
    if (numbers.length() != details || prefixes.length() != details || names.length() != details ||
        fullNames.length() != details) {
        fail("the drawing-number lists do not hold one entry per detail");
    }
    return std::to_string(details) + " details";
}

// The reference model.

void RegistryStateMachine::check(const std::string& what) {
    if (!g_hostFault.empty()) {
        fail("host fault: " + g_hostFault);
    }
    forgetDeadObjects();
    checkRegistry();
    checkObjects();
    checkGroups();
    checkTable();
    const std::vector<std::string> reported = m_assertions.take();
    if (reported != m_expectedAssertions) {
        std::string texts;
        for (const std::string& reportedText : reported) {
            texts += " \"" + reportedText + "\"";
        }
        fail("assertions reported:" + (texts.empty() ? std::string(" none") : texts));
    }
    if (!m_failure.empty() && m_failure.find(" (in ") == std::string::npos) {
        m_failure += " (in " + what + ")";
    }
}

void RegistryStateMachine::checkRegistry() {
    const TevDerivedDocumentsModel::DocumentTable table = m_host->model().getDerivedDocs();
    std::set<const TevDerivedDocument*> seen;
    for (auto* node = table.first(); node != nullptr; node = table.next(node)) {
        TevDerivedDocument* doc = node->value();
        const Key key = keyOf(node->key());
        const auto expected = m_docs.find(key);
        if (expected == m_docs.end()) {
            fail("the registry holds " + describe(key) + ", which it must not");
        } else if (expected->second != doc) {
            fail("the registry holds another document under " + describe(key));
        } else if (keyOf(doc->getKey()) != key) {
            fail("the document under " + describe(key) + " carries another key");
        } else if (doc->getModel() != &m_host->model()) {
            fail("a registered document points at another model");
        }
        if (!seen.insert(doc).second) {
            fail("a document is registered twice");
        }
    }
    if (seen.size() != m_docs.size()) {
        fail("the registry holds " + std::to_string(seen.size()) + " documents, not " +
             std::to_string(m_docs.size()));
    }
    if (m_host->factory.liveDocuments() != m_docs.size()) {
        fail(std::to_string(m_host->factory.liveDocuments()) + " documents live for " +
             std::to_string(m_docs.size()) + " registered: created minus disposed is off");
    }
}

void RegistryStateMachine::checkObjects() {
    std::set<const TevDerivedObject*> seen;
    for (const auto& entry : m_docs) {
        TevArray<TevDerivedObject*> objects;
        entry.second->getDerivedObjects(objects, E::eDocTypeAll);
        for (TevDerivedObject* obj : objects) {
            if (!m_host->factory.isLive(obj)) {
                fail("a document lists a disposed object");
                return;
            }
            if (obj->getDerivedDoc() != entry.second) {
                fail("an object points at another document than the one listing it");
            }
            if (!seen.insert(obj).second) {
                fail("an object is listed twice");
            }
        }
    }
    if (seen.size() != m_host->factory.liveObjects()) {
        fail(std::to_string(m_host->factory.liveObjects()) + " objects live, " +
             std::to_string(seen.size()) + " held by documents");
    }
}

void RegistryStateMachine::checkGroups() {
    const TevArray<TevDerivedObjectDuplicateInfo*>& groups = m_host->model().getDuplicates();
    const auto names = [](const auto& objects) {
        std::string out;
        for (const TevDerivedObject* obj : objects) {
            out += (out.empty() ? "" : ",") + nameOf(obj) + "@" +
                   std::to_string(reinterpret_cast<std::uintptr_t>(obj) % 997);
        }
        return "[" + out + "]";
    };
    std::string actualGroups, expectedGroups;
    for (const TevDerivedObjectDuplicateInfo* group : groups) {
        actualGroups += names(group->getObjects());
    }
    for (const std::vector<TevDerivedObject*>& group : m_groups) {
        expectedGroups += names(group);
    }
    if (actualGroups != expectedGroups) {
        fail("the model's groups are " + actualGroups + ", not " + expectedGroups);
        return;
    }
    std::set<const TevDerivedObjectDuplicateInfo*> listed;
    for (int g = 0; g < groups.length(); ++g) {
        listed.insert(groups[g]);
        for (TevDerivedObject* obj : groups[g]->getObjects()) {
            if (!m_host->factory.isLive(obj)) {
                fail("a group holds a disposed object");
                return;
            }
            if (obj->getDuplicateInfo() != groups[g]) {
                fail("a member of a group points elsewhere");
            }
        }
    }
    for (TevDerivedObject* obj : liveObjects()) {
        const TevDerivedObjectDuplicateInfo* group = obj->getDuplicateInfo();
        if (group != nullptr && listed.count(group) == 0) {
            fail("an object points at a group the model does not list");
        }
    }
}

void RegistryStateMachine::checkTable() {
    if (m_host->model().getDocManObjects() != (m_tableAttached ? &m_table : nullptr)) {
        fail("the model holds another table than the host attached");
    }
    if (m_host->model().isDocumentsManagerOpen() != m_managerOpen) {
        fail("the model's dialog state differs from the host's");
    }
    if (!m_tableAttached) {
        return;
    }
    std::map<const TevDerivedObject*, int> rowsPerObject;
    for (const TevDocManObject& row : m_table) {
        if (m_managerOpen && row.m_removed) {
            continue; // may point at an object disposed of since; erased when it closes
        }
        if (row.m_removed) {
            fail("a marked row is left in the table while the dialog is closed");
        }
        if (!m_host->factory.isLive(row.m_derivedObject)) {
            fail("a row points at a disposed object");
            return;
        }
        // A document's file name changes only by a rename, which takes its rows out.
        if (row.m_fileName != row.m_derivedObject->getDerivedDoc()->getFileName()) {
            fail("a row shows " + text(row.m_fileName) + " for a document now named " +
                 text(row.m_derivedObject->getDerivedDoc()->getFileName()));
        }
        if (!m_managerOpen && ++rowsPerObject[row.m_derivedObject] > 1) {
            fail("an object has two rows while the dialog is closed");
        }
    }
}

void RegistryStateMachine::fail(const std::string& message) {
    if (m_failure.empty()) {
        m_failure = message;
    }
}

// Objects disposed of during the step leave their groups: a group that drops below two
// dissolves.
void RegistryStateMachine::forgetDeadObjects() {
    for (const TevDerivedObject* obj : m_knownObjects) {
        if (!m_host->factory.isLive(obj)) {
            removeFromReferenceGroup(obj);
        }
    }
}

void RegistryStateMachine::removeFromReferenceGroup(const TevDerivedObject* obj) {
    for (auto group = m_groups.begin(); group != m_groups.end(); ++group) {
        const auto member = std::find(group->begin(), group->end(), obj);
        if (member == group->end()) {
            continue;
        }
        group->erase(member);
        if (group->size() < 2) {
            m_groups.erase(group);
        }
        return;
    }
}

// The set joins the group of its first object (or a new one, appended last); a member
// of another group leaves that group first.
void RegistryStateMachine::referenceAppendGroup(const std::vector<TevDerivedObject*>& objects) {
    std::vector<TevDerivedObject*> distinct;
    for (TevDerivedObject* obj : objects) {
        if (std::find(distinct.begin(), distinct.end(), obj) == distinct.end()) {
            distinct.push_back(obj);
        }
    }
    if (distinct.size() < 2) {
        return;
    }
    const auto groupOf = [this](const TevDerivedObject* obj) {
        for (std::size_t g = 0; g < m_groups.size(); ++g) {
            if (std::find(m_groups[g].begin(), m_groups[g].end(), obj) != m_groups[g].end()) {
                return static_cast<int>(g);
            }
        }
        return -1;
    };
    for (TevDerivedObject* obj : distinct) {
        const int own = groupOf(obj);
        if (own >= 0 && own != groupOf(distinct.front())) {
            removeFromReferenceGroup(obj);
        }
    }
    int index = groupOf(distinct.front());
    if (index < 0) {
        m_groups.push_back({});
        index = static_cast<int>(m_groups.size()) - 1;
    }
    std::vector<TevDerivedObject*>& group = m_groups[static_cast<std::size_t>(index)];
    for (TevDerivedObject* obj : distinct) {
        if (std::find(group.begin(), group.end(), obj) == group.end()) {
            group.push_back(obj);
        }
    }
}

// Helpers.

TevDerivedDocument* RegistryStateMachine::pickDocument(ChoiceSource& c) {
    if (m_docs.empty()) {
        return nullptr;
    }
    auto it = m_docs.begin();
    std::advance(it, c.pick(static_cast<unsigned>(m_docs.size())));
    return it->second;
}

TevDerivedObject* RegistryStateMachine::pickObject(ChoiceSource& c) {
    const std::vector<TevDerivedObject*> live = liveObjects();
    return live.empty() ? nullptr : live[c.pick(static_cast<unsigned>(live.size()))];
}

// Every object of every registered document, in the reference model's key order.
std::vector<TevDerivedObject*> RegistryStateMachine::liveObjects() const {
    std::vector<TevDerivedObject*> all;
    for (const auto& entry : m_docs) {
        TevArray<TevDerivedObject*> objects;
        entry.second->getDerivedObjects(objects, E::eDocTypeAll);
        all.insert(all.end(), objects.begin(), objects.end());
    }
    return all;
}

RegistryStateMachine::Key RegistryStateMachine::keyOf(const TevDerivedDocKey& key) {
    return Key{key.m_type,           key.m_subType,       key.m_id,
               text(key.m_fileName), text(key.m_relPath), text(key.m_ncName)};
}

std::string RegistryStateMachine::describe(const Key& key) {
    std::ostringstream out;
    out << "(" << std::get<0>(key) << "," << std::get<1>(key) << "," << std::get<2>(key) << ","
        << std::get<3>(key) << "," << std::get<4>(key) << "," << std::get<5>(key) << ")";
    return out.str();
}

TevDerivedDocKey RegistryStateMachine::libraryKey(const Key& key) const {
    return TevDerivedDocKey(static_cast<E::eDocType>(std::get<0>(key)),
                            static_cast<E::eDocSubType>(std::get<1>(key)), std::get<2>(key),
                            std::get<3>(key).c_str(), std::get<4>(key).c_str(),
                            std::get<5>(key).c_str());
}

bool RegistryStateMachine::fileExists(const Key& key) const {
    std::string relative = std::get<4>(key) + std::get<3>(key);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return std::filesystem::is_regular_file(m_folder.generic_u8string() + relative);
}

DocumentScript* RegistryStateMachine::scriptOf(TevDerivedDocument* doc) const {
    if (auto* detail = dynamic_cast<FakeDetailDocument*>(doc)) {
        return &detail->script;
    }
    if (auto* bom = dynamic_cast<FakeBomDocument*>(doc)) {
        return &bom->script;
    }
    return &dynamic_cast<FakeNCDocument&>(*doc).script;
}

// Sequences and shrinking.

namespace {

// Records the values each step drew from a seeded source.
class RecordingChoices : public ChoiceSource {
public:
    explicit RecordingChoices(std::uint64_t seed)
        : m_seeded(seed) {}
    unsigned pick(unsigned bound) override {
        const unsigned value = m_seeded.pick(1U << 16);
        m_steps.back().push_back(value);
        return bound <= 1 ? 0U : value % bound;
    }
    void beginStep() { m_steps.emplace_back(); }
    const std::vector<StepChoices>& steps() const { return m_steps; }

private:
    SeededChoices m_seeded;
    std::vector<StepChoices> m_steps;
};

// Replays recorded steps; a step that draws more values than it recorded gets zeros.
class ReplayedChoices : public ChoiceSource {
public:
    explicit ReplayedChoices(const StepChoices& step)
        : m_step(step) {}
    unsigned pick(unsigned bound) override {
        const unsigned value = m_next < m_step.size() ? m_step[m_next] : 0U;
        ++m_next;
        return bound <= 1 ? 0U : value % bound;
    }

private:
    const StepChoices& m_step;
    std::size_t m_next = 0;
};

void emptyFolder(const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

// Replays `steps` in a fresh model; answers the failure and, through `trace`, what each
// step did.
std::string replay(const std::filesystem::path& folder, const std::vector<StepChoices>& steps,
                   const RegistryStateMachine::StepHook& afterStep,
                   std::vector<std::string>* trace) {
    emptyFolder(folder);
    RegistryStateMachine machine(folder);
    machine.setAfterStep(afterStep);
    for (const StepChoices& recorded : steps) {
        ReplayedChoices choices(recorded);
        const std::string what = machine.step(choices);
        if (trace != nullptr) {
            trace->push_back(what);
        }
        if (!machine.failure().empty()) {
            return machine.failure();
        }
    }
    machine.finish();
    return machine.failure();
}

// Drops chunks of steps, then single steps, as long as the sequence still fails.
// Passes repeat until none drops a step, since a step may only go together with another.
std::vector<StepChoices> shrink(const std::filesystem::path& folder, std::vector<StepChoices> steps,
                                const RegistryStateMachine::StepHook& afterStep) {
    for (std::size_t before = 0; before != steps.size();) {
        before = steps.size();
        for (std::size_t chunk = std::max<std::size_t>(steps.size() / 2, 1); chunk >= 1;
             chunk /= 2) {
            for (std::size_t start = 0; start + chunk <= steps.size() && steps.size() > 1;) {
                std::vector<StepChoices> candidate = steps;
                candidate.erase(candidate.begin() + static_cast<std::ptrdiff_t>(start),
                                candidate.begin() + static_cast<std::ptrdiff_t>(start + chunk));
                if (!replay(folder, candidate, afterStep, nullptr).empty()) {
                    steps = std::move(candidate);
                } else {
                    start += chunk;
                }
            }
        }
    }
    return steps;
}

} // namespace

SequenceResult runSeededSequence(const std::filesystem::path& folder, std::uint64_t seed, int steps,
                                 const RegistryStateMachine::StepHook& afterStep) {
    RecordingChoices choices(seed);
    std::string failure;
    int failedStep = -1;
    {
        emptyFolder(folder);
        RegistryStateMachine machine(folder);
        machine.setAfterStep(afterStep);
        for (int i = 0; i < steps && machine.failure().empty(); ++i) {
            choices.beginStep();
            machine.step(choices);
            failedStep = i;
        }
        if (machine.failure().empty()) {
            failedStep = steps;
            machine.finish();
        }
        failure = machine.failure();
    }
    SequenceResult result;
    if (failure.empty()) {
        return result;
    }
    const std::vector<StepChoices> shortest = shrink(folder, choices.steps(), afterStep);
    std::vector<std::string> trace;
    const std::string shortFailure = replay(folder, shortest, afterStep, &trace);
    std::ostringstream report;
    report << "seed " << seed << " failed at step " << failedStep << ": " << failure << "\n"
           << "shortest failing sequence (" << trace.size() << " steps): " << shortFailure << "\n";
    for (std::size_t i = 0; i < trace.size(); ++i) {
        report << "  " << i << ": " << trace[i] << "\n";
    }
    result.failed = true;
    result.report = report.str();
    return result;
}

} // namespace lumtest
