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
#include <string>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::nameOf;
using lumtest::ScopedAssertionRecorder;
using lumtest::text;
using E = TevDerDocEnums;
using Names = std::vector<std::string>;
using PerDocument = std::map<std::string, Names>;

// Calls that accompany object construction, status reads and object creation.
Names hostCalls(const FakeHost& host) {
    return host.log.calls({"isCommandActive", "checkDerivedObjects"});
}

template <class T>
Names names(const TevArray<T*>& items) {
    Names out;
    for (const T* item : items) {
        out.push_back(nameOf(item));
    }
    return out;
}

// What each registered document contributes, joined in registry order. A document named
// but not registered contributes "unregistered <name>", so that comparisons fail.
Names inRegistryOrder(FakeHost& host, PerDocument perDocument) {
    TevArray<TevDerivedDocument*> docs;
    host.model().getDerivedDocs(docs);
    Names out;
    for (const TevDerivedDocument* doc : docs) {
        const auto found = perDocument.find(nameOf(doc));
        if (found != perDocument.end()) {
            out.insert(out.end(), found->second.begin(), found->second.end());
            perDocument.erase(found);
        }
    }
    for (const auto& unregistered : perDocument) {
        out.push_back("unregistered " + unregistered.first);
    }
    return out;
}

// The names of the given documents, in registry order.
Names inRegistryOrder(FakeHost& host, const Names& documents) {
    PerDocument perDocument;
    for (const std::string& name : documents) {
        perDocument[name] = {name};
    }
    return inRegistryOrder(host, perDocument);
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

TEST(TevDerivedDocumentsModelQueries, ListsTheDocumentsAndObjectsOfOneKindAfterTheHostAddedThem) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    lumtest::FakeDetailDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    a1->addDerivedObject(host.factory.createBomObject(a1, u"HB"), false); // of another kind
    host.addBom(5, "..\\BOM\\Parts.txt");
    model.addDetails = [&](lumtest::FakeModel&) { host.addDetail(8, "..\\Details\\A2.dwg"); };
    model.addBoms = [&](lumtest::FakeModel&) { host.addBom(6, "..\\BOM\\More.txt"); };
    model.addNCs = [&](lumtest::FakeModel&) {
        host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
    };
    const struct {
        E::eDocType type;
        Names adds;
        PerDocument objects; // of the documents of that kind
    } cases[] = {
        {E::eDocTypeBom,
         {"addDerivedBomDocs(0)"},
         {{"More.txt", {"More.txt:bom"}}, {"Parts.txt", {"Parts.txt:bom"}}}},
        {E::eDocTypeAll,
         {"addDerivedDetailDocs(0)", "addDerivedBomDocs(0)", "addDerivedNCDocs(0)"},
         {{"A1.dwg", {"H7", "A1.dwg:bom"}},
          {"A2.dwg", {"H8"}},
          {"More.txt", {"More.txt:bom"}},
          {"P1.nc", {"P1.nc:nc"}},
          {"Parts.txt", {"Parts.txt:bom"}}}},
        {E::eDocTypeDetail, {"addDerivedDetailDocs(0)"}, {{"A1.dwg", {"H7"}}, {"A2.dwg", {"H8"}}}},
        {E::eDocTypeNC, {"addDerivedNCDocs(0)"}, {{"P1.nc", {"P1.nc:nc"}}}}};
    TevArray<TevDerivedDocument*> docs;
    TevArray<TevDerivedObject*> objects;
    for (const auto& kind : cases) {
        SCOPED_TRACE("type " + std::to_string(kind.type));
        docs.append(nullptr);
        objects.append(nullptr);
        host.log.clear();
        model.getDerivedDocsOfType(docs, kind.type);
        EXPECT_EQ(host.log.only("addDerived"), kind.adds);
        Names kindDocs;
        for (const auto& perDocument : kind.objects) {
            kindDocs.push_back(perDocument.first);
        }
        EXPECT_EQ(names(docs), inRegistryOrder(host, kindDocs)) << "emptied first";
        model.getDerivedObjectsOfType(objects, kind.type);
        EXPECT_EQ(names(objects), inRegistryOrder(host, kind.objects)) << "document by document";
    }
}

TEST(TevDerivedDocumentsModelQueries,
     ResetsADocumentModifiedExternallyAndRefillsThoseWithoutObjects) {
    FakeHost host;
    host.addDetail(7, "..\\Details\\A1.dwg");
    lumtest::FakeDetailDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt")->reset(); // registered, but without objects
    host.log.clear();
    host.model().modifiedExternallyAt(99);
    EXPECT_TRUE(hostCalls(host).empty()) << "an id that no document has changes nothing";
    host.model().modifiedExternallyAt(8);
    EXPECT_EQ(hostCalls(host), Names{"disposeObject(H8)"});
    EXPECT_EQ(host.model().getAt(8, E::eDocTypeDetail), a2) << "it stays registered";

    host.log.clear();
    host.model().addDerivedDocs(E::eDocTypeDetail, true);
    EXPECT_EQ(hostCalls(host),
              (Names{"beginCheckDerivedObjects", "addDerivedDetailDocs(1)",
                     "addAllDerivedObjects(A2.dwg,1000)", "endCheckDerivedObjects"}));

    host.log.clear();
    host.model().addDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.log.calls({"isCommandActive", "checkDerivedObjects", "create"}),
              (Names{"addDerivedDetailDocs(0)", "addDerivedBomDocs(0)", "addDerivedNCDocs(0)",
                     "addAllDerivedObjects(Parts.txt,0000)"}));
}

TEST(TevDerivedDocumentsModelQueries,
     ChecksUpdateRequirementsOfEveryDocumentWithOrWithoutProgress) {
    ScopedAssertionRecorder recorder;
    TevProcessEvolutionManager::setProcessEvolutionManager(nullptr);
    FakeHost host;
    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addDetail(8, "..\\Details\\A2.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
    host.log.clear();
    host.model().checkHasUpdReqForDerivedDocs(E::eDocTypeBom, true);
    EXPECT_EQ(recorder.take(), Names{"pManager"});
    EXPECT_EQ(hostCalls(host),
              (Names{"prepareCheckHasUpdReq(1)", "addAllDerivedObjects(Parts.txt,0100)"}))
        << "the check runs without a progress manager";

    RecordingProgress manager(host.log);
    const int otherKey = manager.getKeyForAction(u"Another action");
    const TevString shipped = Prompts::getPrompt(u"GUI", 45033);
    Prompts::setPrompt(u"GUI", 45033, u"Checking the derived documents of a test");
    host.log.clear();
    host.model().checkHasUpdReqForDerivedDocs(E::eDocTypeDetail, true);
    Prompts::setPrompt(u"GUI", 45033, shipped);
    const int key = manager.getKeyForAction(u"Checking the derived documents of a test");
    Names expected{"prepareCheckHasUpdReq(0)"};
    const Names all = inRegistryOrder(host, Names{"A1.dwg", "A2.dwg", "P1.nc", "Parts.txt"});
    for (std::size_t visited = 1; visited <= all.size(); ++visited) {
        if (all[visited - 1].find(".dwg") != std::string::npos) {
            expected.push_back("addAllDerivedObjects(" + all[visited - 1] + ",0100)");
        }
        expected.push_back("increaseProgress(" + std::to_string(key) + "," +
                           std::to_string(10 * visited / 4) + ")"); // 2, 5, 7, 10
    }
    EXPECT_EQ(hostCalls(host), expected)
        << "every document counts, only the details are asked to re-read";
    EXPECT_EQ(manager.getProgress(key), 24);
    EXPECT_EQ(manager.getProgress(otherKey), 0);

    host.log.clear();
    host.model().checkHasUpdReqForDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.log.only("increaseProgress"), Names{});
    EXPECT_EQ(host.log.only("addAll").size(), 4U);
}

TEST(TevDerivedDocumentsModelQueries, DisposesOfDocumentsWhoseFilesAreGone) {
    lumtest::TempFolder folder;
    FakeHost host(folder.appPath());
    folder.createFile("Details/A1.dwg");
    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addDetail(8, "..\\Details\\A2.dwg");
    host.addDetail(9, "..\\Details\\A3.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    // Made obsolete first (its objects go), then handed to the factory.
    const Names expected =
        inRegistryOrder(host, {{"A2.dwg", {"disposeObject(H8)", "disposeDocument(A2.dwg)"}},
                               {"A3.dwg", {"disposeObject(H9)", "disposeDocument(A3.dwg)"}}});
    host.log.clear();
    TevDerivedDocumentsModel::setFactory(nullptr);
    {
        const ScopedAssertionRecorder recorder;
        host.model().deleteMissingFileDocs(E::eDocTypeAll);
        EXPECT_EQ(recorder.texts(), Names{"pFact"});
    }
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_TRUE(hostCalls(host).empty()) << "without a factory nothing can be let go of";
    EXPECT_EQ(host.model().getDerivedDocs().size(), 4);

    host.model().deleteMissingFileDocs(E::eDocTypeDetail);
    EXPECT_EQ(hostCalls(host), expected) << "a document whose file exists, or a BOM, stays";

    host.log.clear();
    host.model().deleteMissingFileDocs(E::eDocTypeBom);
    EXPECT_EQ(hostCalls(host),
              (Names{"derivedDocModified(1)", "deregistFromModel(Parts.txt)", "getReportManager",
                     "withdrawReport(5,..\\BOM\\Parts.txt)", "disposeObject(Parts.txt:bom)",
                     "disposeDocument(Parts.txt)"}))
        << "the BOM's report is withdrawn before the document goes";
    EXPECT_EQ(host.model().getDerivedDocs().size(), 1) << "the detail whose file exists";
}

// Drawing numbers.

struct Drawing {
    const char* name;
    const char* number;
    const char* prefix;
};

// For each detail, what the collection makes of it: "name|number|prefix|full file name|",
// or without the full file name.
PerDocument rows(const std::vector<Drawing>& details, bool withFullName = true) {
    PerDocument out;
    for (const Drawing& detail : details) {
        const std::string row =
            std::string(detail.name) + "|" + detail.number + "|" + detail.prefix + "|";
        out[detail.name] = {withFullName ? row + "C:\\Model\\DerDocs\\Details\\" + detail.name + "|"
                                         : row};
    }
    return out;
}

std::string fields(const TevDerivedDwgNo& drawing) {
    TevString fileName, fullFileName, number, prefix;
    drawing.getFileName(fileName);
    drawing.getFullFileName(fullFileName);
    drawing.getDwgNo(number);
    drawing.getDwgNoPrefix(prefix);
    return text(fileName) + "|" + text(number) + "|" + text(prefix) + "|" + text(fullFileName) +
           "|";
}

template <class Table, class Key>
std::string fieldsAt(const Table& table, const Key& key) {
    const auto* node = table.find(key);
    return node != nullptr ? fields(node->value()) : "missing";
}

// Entry by entry, the parallel lists, each text followed by '|'. The lists are refilled
// with a stale entry before they are handed over.
Names joined(std::initializer_list<TevArray<TevString>*> lists) {
    Names out;
    for (const TevArray<TevString>* list : lists) {
        out.resize(std::max<std::size_t>(out.size(), list->length()));
        for (int index = 0; index < list->length(); ++index) {
            out[index] += text((*list)[index]) + "|";
        }
    }
    return out;
}

void stale(std::initializer_list<TevArray<TevString>*> lists) {
    for (TevArray<TevString>* list : lists) {
        list->setLength(0);
        list->append(u"stale");
    }
}

void setDwgNo(TevDerivedDocument* doc, const char* number, const char* prefix) {
    ASSERT_NE(doc, nullptr);
    const_cast<TevDerivedDocumentInfo*>(doc->getInfo())->setDwgNo(number, prefix);
}

TEST(TevDerivedDocumentsModelDrawingNumbers, ListsEveryDrawingInDocumentOrderTablesTheFirstOfAKey) {
    FakeHost host;
    host.addBom(5, "..\\BOM\\Parts.txt");
    TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
    TevHashTable<int, TevDerivedDwgNo> byNumber;
    TevHashTable<TevString, TevDerivedDwgNo> byText;
    TevHashSet<TevString> set;
    const TevDerivedDwgNo caller(u"C.dwg", u"C:\\C.dwg", u"12", u"X-");
    byNumber.insert(12, caller);
    byText.insert(u"X-5", caller);
    set.insert(u"C:\\C.dwg");
    const auto lists = [&] {
        stale({&prefixes, &numbers, &fileNames, &fullFileNames});
        host.model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
        return joined({&fileNames, &numbers, &prefixes, &fullFileNames});
    };
    const auto tables = [&] {
        stale({&prefixes, &numbers, &fileNames});
        host.model().getAllDerivedDetailDrawingNumbers(byNumber, byText, set, prefixes, numbers,
                                                       fileNames);
        return joined({&fileNames, &numbers, &prefixes});
    };
    host.log.clear();
    EXPECT_EQ(lists(), Names{}) << "a model without details gives nothing";
    EXPECT_EQ(host.log.only("addDerived"), Names{"addDerivedDetailDocs(0)"});
    EXPECT_EQ(tables(), Names{});
    EXPECT_EQ(byNumber.size() + byText.size() + set.size(), 3) << "the caller's entries stay";

    std::vector<Drawing> details = {{"A1.dwg", "7", "A-"},  {"A2.dwg", "007", "A-"},
                                    {"A3.dwg", "12", "a-"}, {"A4.dwg", "12", "A-"},
                                    {"A5.dwg", "", "A-"},   {"A6.dwg", "", ""}};
    int id = 0;
    for (const Drawing& detail : details) {
        const std::string path = "..\\Details\\" + std::string(detail.name);
        setDwgNo(host.addDetail(++id, path.c_str()), detail.number, detail.prefix);
    }
    ASSERT_EQ(host.addDetail(7, "..\\Details\\A7.dwg")->cachedInfo(), nullptr); // built later
    host.model().addDetails = [&](lumtest::FakeModel& model) {
        if (model.getAt(8, E::eDocTypeDetail) == nullptr) {
            setDwgNo(host.addDetail(8, "..\\Details\\A8.dwg"), "", "B-");
        }
    };
    const Names listed = lists(); // the host adds A8 meanwhile
    details.pop_back();           // A6 has neither number nor prefix
    details.insert(details.end(), {{"A7.dwg", "old", ""}, {"A8.dwg", "", "B-"}});
    EXPECT_EQ(listed, inRegistryOrder(host, rows(details)));
    const PerDocument row = rows(details);
    const auto firstOf = [&](const Names& candidates) {
        return row.at(inRegistryOrder(host, candidates)[0])[0];
    };
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("call " + std::to_string(round));
        EXPECT_EQ(tables(), inRegistryOrder(host, rows(details, false)));
        EXPECT_EQ(byNumber.size(), 3) << "keys 7, 12 and 0";
        EXPECT_EQ(fieldsAt(byNumber, 7), firstOf({"A1.dwg", "A2.dwg"}));
        EXPECT_EQ(fieldsAt(byNumber, 12), fields(caller)) << "the caller's entry wins";
        EXPECT_EQ(fieldsAt(byNumber, 0), firstOf({"A5.dwg", "A7.dwg", "A8.dwg"}));
        EXPECT_EQ(byText.size(), 6) << "keys X-5, A-7, A-12, A-0, 0 and B-0";
        EXPECT_EQ(fieldsAt(byText, TevString(u"A-7")), firstOf({"A1.dwg", "A2.dwg"}));
        EXPECT_EQ(fieldsAt(byText, TevString(u"A-12")), firstOf({"A3.dwg", "A4.dwg"}));
        EXPECT_EQ(fieldsAt(byText, TevString(u"A-0")), row.at("A5.dwg")[0]);
        EXPECT_EQ(fieldsAt(byText, TevString(u"0")), row.at("A7.dwg")[0]);
        EXPECT_EQ(fieldsAt(byText, TevString(u"B-0")), row.at("A8.dwg")[0])
            << "an empty number after a non-empty one has the number key 0";
        EXPECT_EQ(fieldsAt(byText, TevString(u"X-5")), fields(caller));
        EXPECT_EQ(set.size(), 8);
        for (const TevString& fullFileName : fullFileNames) {
            EXPECT_NE(set.find(fullFileName), nullptr) << text(fullFileName);
        }
    }
}

TEST(TevDerivedDwgNo, KeepsItsFourTextsThroughCopyAndAssignment) {
    EXPECT_EQ(fields(TevDerivedDwgNo()), "||||");
    // Constructed from file name, full file name, number and prefix.
    TevDerivedDwgNo drawing(u"A1.dwg", u"C:\\A1.dwg", u"007", u"A-");
    const std::string expected = "A1.dwg|007|A-|C:\\A1.dwg|";
    TevString out(u"before");
    drawing.getDwgNo(out);
    EXPECT_EQ(out, TevString(u"007")) << "the out argument is replaced";
    TevDerivedDwgNo assigned(u"B.dwg", u"C:\\B.dwg", u"1", u"B-");
    assigned = drawing;
    const TevDerivedDwgNo& alias = drawing;
    drawing = alias;
    EXPECT_EQ(fields(drawing), expected) << "assigned to itself";
    EXPECT_EQ(fields(TevDerivedDwgNo(drawing)), expected);
    EXPECT_EQ(fields(assigned), expected);
}

} // namespace

// The lists the queries fill end with exactly the storage that appending their entries
// one by one gives: the next multiple of the list's growth step, or the storage the
// caller gave when it suffices.
TEST(TevDerivedDocumentsModelQueries, ListsEndWithTheStorageOfAppendingOneByOne) {
    FakeHost host;
    for (int id = 1; id <= 20; ++id) {
        host.addDetail(id, ("..\\Details\\A" + std::to_string(id) + ".dwg").c_str());
    }
    TevDerivedDocumentsModel& model = host.model();

    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocs(docs);
    EXPECT_EQ(docs.length(), 20);
    EXPECT_EQ(docs.physicalLength(), 24);
    TevArray<TevDerivedDocument*> roomy(40, 8);
    model.getDerivedDocs(roomy);
    EXPECT_EQ(roomy.physicalLength(), 40);
    TevArray<TevDerivedDocument*> ofType(0, 7);
    model.getDerivedDocsOfType(ofType, E::eDocTypeDetail);
    EXPECT_EQ(ofType.length(), 20);
    EXPECT_EQ(ofType.physicalLength(), 21);

    TevArray<TevDerivedObject*> objects(0, 3);
    objects.append(nullptr); // emptied first
    model.getDerivedObjectsOfType(objects, E::eDocTypeAll);
    EXPECT_EQ(objects.length(), 20);
    EXPECT_EQ(objects.physicalLength(), 21);
    for (int index = 0; index < objects.length(); ++index) {
        EXPECT_EQ(objects[index]->getDerivedDoc(), docs[index]) << "in registry order";
    }

    TevArray<TevString> prefixes, numbers, fileNames(0, 16), fullFileNames(30, 8);
    model.getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
    EXPECT_EQ(numbers.length(), 20);
    EXPECT_EQ(prefixes.physicalLength(), 24);
    EXPECT_EQ(numbers.physicalLength(), 24);
    EXPECT_EQ(fileNames.physicalLength(), 32);
    EXPECT_EQ(fullFileNames.physicalLength(), 30);
}
