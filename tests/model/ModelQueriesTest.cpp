#include "TevDerivedDocumentsModel.h"

#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "QXRepositoryProxy/Prompts.h"
#include "TempFolder.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedDwgNo.h"
#include "TevPrinters.h"
#include "TevProcessEvolutionManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::nameOf;
using lumtest::ScopedAssertionRecorder;
using lumtest::text;
using E = TevDerDocEnums;
using Calls = std::vector<std::string>;
using Names = std::vector<std::string>;

// Calls that accompany object construction, status reads and object creation.
Calls hostCalls(const FakeHost& host) {
    return host.log.calls({"isCommandActive", "checkDerivedObjects"});
}

std::vector<TevDerivedDocument*> registered(FakeHost& host) {
    TevArray<TevDerivedDocument*> docs;
    host.model().getDerivedDocs(docs);
    return std::vector<TevDerivedDocument*>(docs.begin(), docs.end());
}

Names names(const TevArray<TevDerivedDocument*>& docs) {
    Names out;
    for (const TevDerivedDocument* doc : docs) {
        out.push_back(nameOf(doc));
    }
    return out;
}

// File names of the registered documents of one kind, in registry order.
Names registeredOfKind(FakeHost& host, E::eDocType type) {
    Names out;
    for (const TevDerivedDocument* doc : registered(host)) {
        if (type == E::eDocTypeAll || doc->getKey().m_type == type) {
            out.push_back(nameOf(doc));
        }
    }
    return out;
}

Names sorted(Names values) {
    std::sort(values.begin(), values.end());
    return values;
}

TevDerivedObject* firstObject(const TevDerivedDocument* doc) {
    TevArray<TevDerivedObject*> objects;
    doc->getDerivedObjects(objects, E::eDocTypeAll);
    return objects.isEmpty() ? nullptr : objects[0];
}

// Records every progress step into the host's log; installed while it lives.
class RecordingProgress : public TevProcessEvolutionManager {
public:
    explicit RecordingProgress(lumtest::CallLog& log)
        : m_log(log) {
        setProcessEvolutionManager(this);
    }
    ~RecordingProgress() override { setProcessEvolutionManager(nullptr); }

    void increaseProgress(int key, int amount) override {
        m_log.add("increaseProgress(" + std::to_string(key) + "," + std::to_string(amount) + ")");
        TevProcessEvolutionManager::increaseProgress(key, amount);
    }

private:
    lumtest::CallLog& m_log;
};

TEST(TevDerivedDocumentsModelQueries, ListsTheDocumentsOfOneKindAfterTheHostAddedThem) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    model.addDetails = [&](lumtest::FakeModel&) { host.addDetail(8, "..\\Details\\A2.dwg"); };
    model.addBoms = [&](lumtest::FakeModel&) { host.addBom(6, "..\\BOM\\More.txt"); };
    model.addNCs = [&](lumtest::FakeModel&) {
        host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
    };
    host.log.clear();

    TevArray<TevDerivedDocument*> docs;
    docs.append(nullptr);
    model.getDerivedDocsOfType(docs, E::eDocTypeBom);
    EXPECT_EQ(host.log.only("addDerived"), Calls{"addDerivedBomDocs(0)"});
    EXPECT_EQ(sorted(names(docs)), (Names{"More.txt", "Parts.txt"}))
        << "the list is emptied first and holds the BOM registered by the host";
    EXPECT_EQ(names(docs), registeredOfKind(host, E::eDocTypeBom)) << "in registry order";

    host.log.clear();
    model.getDerivedDocsOfType(docs, E::eDocTypeAll);
    EXPECT_EQ(host.log.only("addDerived"),
              (Calls{"addDerivedDetailDocs(0)", "addDerivedBomDocs(0)", "addDerivedNCDocs(0)"}));
    EXPECT_EQ(docs.length(), 5);
    EXPECT_EQ(names(docs), registeredOfKind(host, E::eDocTypeAll));

    model.getDerivedDocsOfType(docs, E::eDocTypeDetail);
    EXPECT_EQ(sorted(names(docs)), (Names{"A1.dwg", "A2.dwg"}));
    EXPECT_EQ(names(docs), registeredOfKind(host, E::eDocTypeDetail));
    model.getDerivedDocsOfType(docs, E::eDocTypeNC);
    EXPECT_EQ(names(docs), Names{"P1.nc"});
}

TEST(TevDerivedDocumentsModelQueries, ListsTheObjectsOfOneKindDocumentByDocument) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    lumtest::FakeDetailDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    lumtest::FakeDetailDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    a2->addDerivedObject(host.factory.makeDetailObject(a2, 9, u"H9"), false);
    // An object of another kind inside a detail document.
    a1->addDerivedObject(host.factory.createBomObject(a1, u"HB"), false);

    const std::map<std::string, Names> detailObjects = {{"A1.dwg", {"H7"}},
                                                        {"A2.dwg", {"H8", "H9"}}};
    const std::map<std::string, Names> allObjects = {{"A1.dwg", {"H7", "A1.dwg:bom"}},
                                                     {"A2.dwg", {"H8", "H9"}},
                                                     {"Parts.txt", {"Parts.txt:bom"}}};
    auto expectedFor = [&](const std::map<std::string, Names>& perDocument) {
        Names expected;
        for (const TevDerivedDocument* doc : registered(host)) {
            const auto found = perDocument.find(nameOf(doc));
            if (found != perDocument.end()) {
                expected.insert(expected.end(), found->second.begin(), found->second.end());
            }
        }
        return expected;
    };
    auto labels = [](const TevArray<TevDerivedObject*>& objects) {
        Names out;
        for (const TevDerivedObject* obj : objects) {
            out.push_back(nameOf(obj));
        }
        return out;
    };

    TevArray<TevDerivedObject*> objects;
    objects.append(nullptr);
    model.getDerivedObjectsOfType(objects, E::eDocTypeDetail);
    EXPECT_EQ(labels(objects), expectedFor(detailObjects));
    model.getDerivedObjectsOfType(objects, E::eDocTypeBom);
    EXPECT_EQ(labels(objects), Names{"Parts.txt:bom"}) << "only the objects of BOM documents";
    model.getDerivedObjectsOfType(objects, E::eDocTypeAll);
    EXPECT_EQ(labels(objects), expectedFor(allObjects));
    model.getDerivedObjectsOfType(objects, E::eDocTypeNC);
    EXPECT_TRUE(objects.isEmpty());
}

TEST(TevDerivedDocumentsModelQueries, AddingDocumentsFillsOnlyThoseWithoutObjects) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    host.addDetail(7, "..\\Details\\A1.dwg");
    lumtest::FakeDetailDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    lumtest::FakeBomDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    a2->reset(); // registered, but without objects
    parts->reset();
    host.log.clear();

    model.addDerivedDocs(E::eDocTypeDetail, true);
    EXPECT_EQ(hostCalls(host),
              (Calls{"beginCheckDerivedObjects", "addDerivedDetailDocs(1)",
                     "addAllDerivedObjects(A2.dwg,1000)", "endCheckDerivedObjects"}));
    EXPECT_EQ(a2->objects().length(), 1);
    EXPECT_TRUE(parts->objects().isEmpty()) << "a document of another kind is left alone";

    host.log.clear();
    model.addDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.log.calls({"isCommandActive", "checkDerivedObjects", "create"}),
              (Calls{"addDerivedDetailDocs(0)", "addDerivedBomDocs(0)", "addDerivedNCDocs(0)",
                     "addAllDerivedObjects(Parts.txt,0000)"}));
    EXPECT_EQ(parts->objects().length(), 1);
}

TEST(TevDerivedDocumentsModelQueries, ChecksUpdateRequirementsStepByStepWithProgress) {
    FakeHost host;
    RecordingProgress manager(host.log);
    const int otherKey = manager.getKeyForAction(u"Another action");
    const TevString shipped = Prompts::getPrompt(u"GUI", 45033);
    EXPECT_EQ(shipped, TevString(u"Checking derived documents"));
    Prompts::setPrompt(u"GUI", 45033, u"Checking the derived documents of a test");
    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addDetail(8, "..\\Details\\A2.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
    host.log.clear();

    host.model().checkHasUpdReqForDerivedDocs(E::eDocTypeDetail, true);
    Prompts::setPrompt(u"GUI", 45033, shipped);

    const int key = manager.getKeyForAction(u"Checking the derived documents of a test");
    EXPECT_NE(key, otherKey);
    const std::string step = "increaseProgress(" + std::to_string(key) + ",";
    Calls expected{"prepareCheckHasUpdReq(0)"};
    const char* steps[] = {"2)", "5)", "7)", "10)"};
    int visited = 0;
    for (const TevDerivedDocument* doc : registered(host)) {
        if (doc->getKey().m_type == E::eDocTypeDetail) {
            expected.push_back("addAllDerivedObjects(" + nameOf(doc) + ",0100)");
        }
        expected.push_back(step + steps[visited++]);
    }
    ASSERT_EQ(visited, 4);
    EXPECT_EQ(hostCalls(host), expected)
        << "every document counts, only the details are asked to re-read";
    EXPECT_EQ(manager.getProgress(key), 24);
    EXPECT_EQ(manager.getProgress(otherKey), 0);
}

TEST(TevDerivedDocumentsModelQueries, ChecksUpdateRequirementsWithoutProgress) {
    ScopedAssertionRecorder recorder;
    TevProcessEvolutionManager::setProcessEvolutionManager(nullptr);
    FakeHost host;
    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    host.log.clear();

    host.model().checkHasUpdReqForDerivedDocs(E::eDocTypeBom, true);
    EXPECT_EQ(recorder.take(), std::vector<std::string>{"pManager"});
    EXPECT_EQ(hostCalls(host),
              (Calls{"prepareCheckHasUpdReq(1)", "addAllDerivedObjects(Parts.txt,0100)"}))
        << "the check runs without a progress manager";

    RecordingProgress manager(host.log);
    host.log.clear();
    host.model().checkHasUpdReqForDerivedDocs(E::eDocTypeAll, false);
    EXPECT_TRUE(recorder.texts().empty());
    EXPECT_EQ(host.log.only("increaseProgress"), Calls{});
    EXPECT_EQ(host.log.only("addAll").size(), 2U);
    EXPECT_TRUE(text(manager.getActionName(1)).empty()) << "no action was named";
}

TEST(TevDerivedDocumentsModelQueries, DisposesOfDocumentsWhoseFilesAreGone) {
    lumtest::TempFolder folder;
    FakeHost host(folder.appPath());
    folder.createFile("Details/A1.dwg");
    lumtest::FakeDetailDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    host.addDetail(8, "..\\Details\\A2.dwg");
    host.addDetail(9, "..\\Details\\A3.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    ASSERT_EQ(a1->getFullFileName(), folder.appPath("Details\\A1.dwg"));
    TevDerivedObject* kept = firstObject(a1);

    Calls expected;
    for (const TevDerivedDocument* doc : registered(host)) {
        const std::string name = nameOf(doc);
        if (name == "A2.dwg" || name == "A3.dwg") {
            // Made obsolete first (its objects go), then handed to the factory.
            expected.push_back("disposeObject(" + nameOf(firstObject(doc)) + ")");
            expected.push_back("disposeDocument(" + name + ")");
        }
    }
    host.log.clear();
    host.model().deleteMissingFileDocs(E::eDocTypeDetail);
    EXPECT_EQ(hostCalls(host), expected);
    EXPECT_EQ(host.model().getAt(8, E::eDocTypeAll), nullptr);
    EXPECT_EQ(host.model().getAt(9, E::eDocTypeAll), nullptr);
    EXPECT_EQ(host.model().getAt(7, E::eDocTypeDetail), a1);
    EXPECT_EQ(firstObject(a1), kept) << "a document whose file exists is untouched";
    EXPECT_NE(host.model().getAt(5, E::eDocTypeBom), nullptr) << "only details were considered";
    EXPECT_EQ(registered(host).size(), 2U);

    host.log.clear();
    host.model().deleteMissingFileDocs(E::eDocTypeBom);
    const Calls calls = hostCalls(host);
    const auto at = [&](const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) - calls.begin();
    };
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "disposeDocument(Parts.txt)");
    EXPECT_LT(at("withdrawReport(5,..\\BOM\\Parts.txt)"), at("disposeDocument(Parts.txt)"))
        << "the BOM's report is withdrawn before the document goes";
    EXPECT_LT(at("disposeObject(Parts.txt:bom)"), at("disposeDocument(Parts.txt)"));
    EXPECT_EQ(host.model().getAt(5, E::eDocTypeAll), nullptr);
    EXPECT_EQ(registered(host), std::vector<TevDerivedDocument*>{a1});
}

TEST(TevDerivedDocumentsModelQueries, ResetsADocumentModifiedExternally) {
    FakeHost host;
    lumtest::FakeDetailDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    lumtest::FakeDetailDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    a2->getInfo();
    ASSERT_NE(a2->cachedInfo(), nullptr);
    TevDerivedObject* kept = firstObject(a1);
    host.log.clear();

    host.model().modifiedExternallyAt(99);
    EXPECT_TRUE(hostCalls(host).empty());
    EXPECT_EQ(a2->objects().length(), 1);
    EXPECT_NE(a2->cachedInfo(), nullptr);

    host.model().modifiedExternallyAt(8);
    EXPECT_EQ(hostCalls(host), Calls{"disposeObject(H8)"});
    EXPECT_TRUE(a2->objects().isEmpty());
    EXPECT_EQ(a2->cachedInfo(), nullptr);
    EXPECT_EQ(host.model().getAt(8, E::eDocTypeDetail), a2) << "it stays registered";
    EXPECT_EQ(firstObject(a1), kept);
}

// Drawing numbers.

using NumberTable = TevHashTable<int, TevDerivedDwgNo>;
using TextTable = TevHashTable<TevString, TevDerivedDwgNo>;
using NameSet = TevHashSet<TevString>;

void setDwgNo(TevDerivedDocument* doc, const char* number, const char* prefix) {
    ASSERT_NE(doc, nullptr);
    const TevDerivedDocumentInfo* info = doc->getInfo();
    ASSERT_NE(info, nullptr);
    const_cast<TevDerivedDocumentInfo*>(info)->setDwgNo(number, prefix);
}

Names texts(const TevArray<TevString>& values) {
    Names out;
    for (const TevString& value : values) {
        out.push_back(text(value));
    }
    return out;
}

// File name, full file name, number, prefix.
Names fields(const TevDerivedDwgNo& drawing) {
    TevString fileName, fullFileName, number, prefix;
    drawing.getFileName(fileName);
    drawing.getFullFileName(fullFileName);
    drawing.getDwgNo(number);
    drawing.getDwgNoPrefix(prefix);
    return {text(fileName), text(fullFileName), text(number), text(prefix)};
}

template <class Table, class Key>
Names fieldsAt(const Table& table, const Key& key) {
    const auto* node = table.find(key);
    return node != nullptr ? fields(node->value()) : Names{"missing"};
}

std::string fullName(const std::string& fileName) {
    return "C:\\Model\\DerDocs\\Details\\" + fileName;
}

// The details in the order in which the model lists them.
Names detailOrder(FakeHost& host) {
    TevArray<TevDerivedDocument*> docs;
    host.model().getDerivedDocsOfType(docs, E::eDocTypeDetail);
    return names(docs);
}

void stale(TevArray<TevString>& list) {
    list.setLength(0);
    list.append(u"stale");
}

TEST(TevDerivedDocumentsModelDrawingNumbers, AModelWithoutDetailsGivesNothing) {
    FakeHost host;
    host.addBom(5, "..\\BOM\\Parts.txt");
    TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
    for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames, &fullFileNames}) {
        stale(*list);
    }
    host.log.clear();
    host.model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
    EXPECT_EQ(host.log.only("addDerived"), Calls{"addDerivedDetailDocs(0)"});
    EXPECT_TRUE(prefixes.isEmpty() && numbers.isEmpty() && fileNames.isEmpty() &&
                fullFileNames.isEmpty());

    NumberTable byNumber;
    TextTable byText;
    NameSet set;
    const TevDerivedDwgNo caller(u"C.dwg", u"C:\\C.dwg", u"3", u"X-");
    byNumber.insert(3, caller);
    byText.insert(u"X-3", caller);
    set.insert(u"C:\\C.dwg");
    for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames}) {
        stale(*list);
    }
    host.model().getAllDerivedDetailDrawingNumbers(byNumber, byText, set, prefixes, numbers,
                                                   fileNames);
    EXPECT_TRUE(prefixes.isEmpty() && numbers.isEmpty() && fileNames.isEmpty());
    EXPECT_EQ(byNumber.size() + byText.size() + set.size(), 3);
    EXPECT_EQ(fieldsAt(byText, TevString(u"X-3")), (Names{"C.dwg", "C:\\C.dwg", "3", "X-"}));
}

TEST(TevDerivedDocumentsModelDrawingNumbers, ListsParallelEntriesInDocumentOrder) {
    FakeHost host;
    setDwgNo(host.addDetail(1, "..\\Details\\A1.dwg"), "7", "A-");
    setDwgNo(host.addDetail(2, "..\\Details\\A2.dwg"), "12", "");
    setDwgNo(host.addDetail(3, "..\\Details\\A3.dwg"), "", ""); // left out
    host.addDetail(4, "..\\Details\\A4.dwg"); // its info is built by the collection
    host.addBom(5, "..\\BOM\\Parts.txt");
    host.model().addDetails = [&](lumtest::FakeModel& model) {
        if (model.getAt(6, E::eDocTypeDetail) == nullptr) {
            setDwgNo(host.addDetail(6, "..\\Details\\A6.dwg"), "", "B-");
        }
    };
    ASSERT_EQ(host.addDetail(4, "..\\Details\\A4.dwg")->cachedInfo(), nullptr);

    TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
    for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames, &fullFileNames}) {
        stale(*list);
    }
    host.model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);

    const std::map<std::string, std::pair<std::string, std::string>> drawings = {
        {"A1.dwg", {"A-", "7"}},
        {"A2.dwg", {"", "12"}},
        {"A4.dwg", {"", "old"}},
        {"A6.dwg", {"B-", ""}}};
    Names expectedPrefixes, expectedNumbers, expectedNames, expectedFullNames;
    for (const std::string& name : detailOrder(host)) {
        const auto found = drawings.find(name);
        if (found != drawings.end()) {
            expectedPrefixes.push_back(found->second.first);
            expectedNumbers.push_back(found->second.second);
            expectedNames.push_back(name);
            expectedFullNames.push_back(fullName(name));
        }
    }
    ASSERT_EQ(expectedNames.size(), 4U);
    EXPECT_EQ(texts(prefixes), expectedPrefixes);
    EXPECT_EQ(texts(numbers), expectedNumbers);
    EXPECT_EQ(texts(fileNames), expectedNames);
    EXPECT_EQ(texts(fullFileNames), expectedFullNames);
}

TEST(TevDerivedDocumentsModelDrawingNumbers, TablesKeepTheFirstDrawingOfAKeyAndListsHoldAll) {
    FakeHost host;
    setDwgNo(host.addDetail(1, "..\\Details\\A1.dwg"), "7", "A-");
    setDwgNo(host.addDetail(2, "..\\Details\\A2.dwg"), "007", "A-");
    setDwgNo(host.addDetail(3, "..\\Details\\A3.dwg"), "12", "a-");
    setDwgNo(host.addDetail(4, "..\\Details\\A4.dwg"), "12", "A-");
    setDwgNo(host.addDetail(5, "..\\Details\\A5.dwg"), "", "A-");
    setDwgNo(host.addDetail(6, "..\\Details\\A6.dwg"), "", ""); // left out

    const Names order = detailOrder(host);
    const auto firstOf = [&](const std::string& one, const std::string& other) {
        const auto found = std::find_if(order.begin(), order.end(), [&](const std::string& name) {
            return name == one || name == other;
        });
        return found != order.end() ? *found : std::string();
    };
    const std::map<std::string, Names> drawing = {
        {"A1.dwg", {"A1.dwg", fullName("A1.dwg"), "7", "A-"}},
        {"A2.dwg", {"A2.dwg", fullName("A2.dwg"), "007", "A-"}},
        {"A3.dwg", {"A3.dwg", fullName("A3.dwg"), "12", "a-"}},
        {"A4.dwg", {"A4.dwg", fullName("A4.dwg"), "12", "A-"}},
        {"A5.dwg", {"A5.dwg", fullName("A5.dwg"), "", "A-"}}};
    Names expectedNames, expectedNumbers;
    for (const std::string& name : order) {
        if (drawing.count(name) != 0) {
            expectedNames.push_back(name);
            expectedNumbers.push_back(drawing.at(name)[2]);
        }
    }

    NumberTable byNumber;
    TextTable byText;
    NameSet set;
    const TevDerivedDwgNo caller(u"C.dwg", u"C:\\C.dwg", u"12", u"X-");
    byNumber.insert(12, caller);
    byText.insert(u"X-5", caller);
    set.insert(u"C:\\C.dwg");
    TevArray<TevString> prefixes, numbers, fileNames;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("call " + std::to_string(round));
        for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames}) {
            stale(*list);
        }
        host.model().getAllDerivedDetailDrawingNumbers(byNumber, byText, set, prefixes, numbers,
                                                       fileNames);
        EXPECT_EQ(texts(fileNames), expectedNames) << "the lists hold every drawing";
        EXPECT_EQ(texts(numbers), expectedNumbers);
        EXPECT_EQ(prefixes.length(), 5);

        EXPECT_EQ(byNumber.size(), 3) << "keys 7, 12 and 0";
        EXPECT_EQ(fieldsAt(byNumber, 7), drawing.at(firstOf("A1.dwg", "A2.dwg")));
        EXPECT_EQ(fieldsAt(byNumber, 12), fields(caller)) << "the caller's entry wins";
        EXPECT_EQ(fieldsAt(byNumber, 0), drawing.at("A5.dwg"));

        EXPECT_EQ(byText.size(), 4) << "keys X-5, A-7, A-12 and A-0";
        EXPECT_EQ(fieldsAt(byText, TevString(u"A-7")), drawing.at(firstOf("A1.dwg", "A2.dwg")));
        EXPECT_EQ(fieldsAt(byText, TevString(u"A-12")), drawing.at(firstOf("A3.dwg", "A4.dwg")));
        EXPECT_EQ(byText.find(u"a-12"), nullptr);
        EXPECT_EQ(fieldsAt(byText, TevString(u"A-0")), drawing.at("A5.dwg"));
        EXPECT_EQ(fieldsAt(byText, TevString(u"X-5")), fields(caller));

        EXPECT_EQ(set.size(), 6);
        for (const char* name : {"A1.dwg", "A2.dwg", "A3.dwg", "A4.dwg", "A5.dwg"}) {
            EXPECT_NE(set.find(TevString(fullName(name).c_str())), nullptr) << name;
        }
        EXPECT_EQ(set.find(TevString(fullName("A6.dwg").c_str())), nullptr);
        EXPECT_NE(set.find(u"C:\\C.dwg"), nullptr);
    }
}

TEST(TevDerivedDwgNo, KeepsItsFourTextsInConstructorOrder) {
    EXPECT_EQ(fields(TevDerivedDwgNo()), (Names{"", "", "", ""}));
    const TevDerivedDwgNo drawing(u"A1.dwg", u"C:\\A1.dwg", u"007", u"A-");
    EXPECT_EQ(fields(drawing), (Names{"A1.dwg", "C:\\A1.dwg", "007", "A-"}));
    TevString out(u"before");
    drawing.getDwgNo(out);
    EXPECT_EQ(out, TevString(u"007")) << "the out argument is replaced";

    TevDerivedDwgNo copy(drawing);
    EXPECT_EQ(fields(copy), fields(drawing));
    TevDerivedDwgNo assigned(u"B.dwg", u"C:\\B.dwg", u"1", u"B-");
    assigned = drawing;
    EXPECT_EQ(fields(assigned), fields(drawing));
}

TEST(TevDerivedDwgNo, AssignmentToItselfKeepsTheValues) {
    TevDerivedDwgNo drawing(u"A1.dwg", u"C:\\A1.dwg", u"007", u"A-");
    const TevDerivedDwgNo& alias = drawing;
    drawing = alias;
    EXPECT_EQ(fields(drawing), (Names{"A1.dwg", "C:\\A1.dwg", "007", "A-"}));
}

} // namespace
