// Walks over the registry: lists of one kind, resets, update checks, missing files and
// drawing numbers. The registry is visited in the order of its hash table, which is
// part of the behaviour hosts see, so the expectations spell that order out.
#include "TevDerivedDocumentsModel.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "QXRepositoryProxy/Prompts.h"
#include "TempFolder.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedDwgNo.h"
#include "TevPrinters.h"
#include "TevProcessEvolutionManager.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

using lumtest::joined;
using lumtest::text;
using E = TevDerDocEnums;
using Names = std::vector<std::string>;
using Ints = std::vector<int>;

template <class T>
std::string names(const TevArray<T*>& items) {
    Names out;
    for (const T* item : items) {
        out.push_back(lumtest::nameOf(item));
    }
    return joined(out);
}

// A1 and A2 (objects H7, H8), the BOM Parts and the DSTV NC P1; the log starts empty.
struct Registry : lumtest::FakeHost {
    using FakeHost::FakeHost;
    lumtest::FakeModel& fill() {
        addDetail(7, "..\\Details\\A1.dwg");
        addDetail(8, "..\\Details\\A2.dwg");
        addBom(5, "..\\BOM\\Parts.txt");
        addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
        log.clear();
        return model();
    }
    // The calls since the last look, without those that accompany object construction
    // and status reads; the log starts again.
    std::string calls(std::initializer_list<const char*> ignored = {"isCommandActive",
                                                                    "checkDerivedObjects"}) {
        return joined(log.take(ignored));
    }
    std::string registered() {
        TevArray<TevDerivedDocument*> docs;
        model().getDerivedDocs(docs);
        return names(docs);
    }
};

// Every assertion the library reports is taken by the test.
class TevDerivedDocumentsModelQueries : public testing::Test {
protected:
    ~TevDerivedDocumentsModelQueries() override {
        host.destroyModel(); // what its destruction reports counts too
        EXPECT_EQ(recorder.texts(), Names{});
    }

    lumtest::ScopedAssertionRecorder recorder;
    Registry host;
    lumtest::FakeModel& model = host.fill();
};

// The lists the queries fill end with the storage that appending their entries one by
// one gives (the next multiple of the growth step, or the caller's when it suffices),
// had in one allocation; the model's own scratch list of objects doubles.
TEST(TevDerivedDocumentsModelStorage, ListsGetTheirStorageOfAppendingOneByOneAtOnce) {
    lumtest::FakeHost host;
    for (int id = 1; id <= 33; ++id) {
        host.addDetail(id, ("..\\Details\\A" + std::to_string(id) + ".dwg").c_str());
    }
    TevDerivedDocumentsModel& model = host.model();
    TevArray<TevDerivedDocument*> docs, roomy(40, 8), ofType(0, 7);
    TevArray<TevDerivedObject*> objects(0, 3);
    TevArray<TevString> prefixes, numbers, fileNames(0, 16), fullFileNames(40, 8);
    Ints allocations;
    const auto count = [&allocations](std::size_t size, auto query) {
        const lumtest::ScopedAllocationFailure counter(INT_MAX, size);
        query();
        allocations.push_back(counter.grantedSoFar());
    };
    docs.append(nullptr); // emptied first
    count(sizeof(void*), [&] { model.getDerivedDocs(docs); });
    count(sizeof(void*), [&] { model.getDerivedDocs(roomy); });
    count(sizeof(void*), [&] { model.getDerivedDocsOfType(ofType, E::eDocTypeDetail); });
    count(sizeof(void*), [&] { model.getDerivedObjectsOfType(objects, E::eDocTypeAll); });
    count(sizeof(TevString), [&] {
        model.getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
    });
    count(sizeof(TevDerivedDwgNo), [&] {
        model.getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
    });
    TevHashTable<int, TevDerivedDwgNo> byNumber;
    TevHashTable<TevString, TevDerivedDwgNo> byText;
    TevHashSet<TevString> set;
    TevArray<TevString> morePrefixes, moreNumbers, moreFileNames;
    count(sizeof(TevString), [&] {
        model.getAllDerivedDetailDrawingNumbers(byNumber, byText, set, morePrefixes, moreNumbers,
                                                moreFileNames);
    });
    EXPECT_EQ(allocations, (Ints{1, 0, 35, 73, 3, 1, 3}));
    EXPECT_EQ((Ints{docs.physicalLength(), roomy.physicalLength(), ofType.physicalLength(),
                    objects.physicalLength(), prefixes.physicalLength(), numbers.physicalLength(),
                    fileNames.physicalLength(), fullFileNames.physicalLength(), numbers.length(),
                    docs.length()}),
              (Ints{40, 40, 35, 33, 40, 40, 48, 40, 33, 33}));
}

TEST_F(TevDerivedDocumentsModelQueries, ResetTheDocumentsOfOneKindOrAllWithTheirCaches) {
    model.enableCache();
    EXPECT_EQ(host.calls(), "disableAndDeleteCache"); // the host's override
    EXPECT_TRUE(model.isCacheOn());
    model.TevDerivedDocumentsModel::disableAndDeleteCache();
    EXPECT_FALSE(model.isCacheOn());
    // Per type, the disposals and what stays; the type's caches are reset, the details
    // cache only by a reset of all.
    const std::tuple<E::eDocType, const char*, const char*, Names> cases[] = {
        {E::eDocTypeNC,
         "disposeDocument(P1.nc) disposeObject(P1.nc:nc)",
         "Parts.txt A2.dwg A1.dwg",
         {}},
        {static_cast<E::eDocType>(7), "", "P1.nc Parts.txt A2.dwg A1.dwg", {"false"}},
        {E::eDocTypeBom,
         "disposeDocument(Parts.txt) disposeObject(Parts.txt:bom)",
         "P1.nc A2.dwg A1.dwg",
         {}},
        {E::eDocTypeDetail,
         "disposeDocument(A2.dwg) disposeObject(H8) disposeDocument(A1.dwg) disposeObject(H7)",
         "P1.nc Parts.txt",
         {}},
        {E::eDocTypeAll,
         "disposeDocument(P1.nc) disposeObject(P1.nc:nc) disposeDocument(Parts.txt) "
         "disposeObject(Parts.txt:bom) disposeDocument(A2.dwg) disposeObject(H8) "
         "disposeDocument(A1.dwg) disposeObject(H7)",
         "",
         {}}};
    for (const auto& [type, disposals, kept, reports] : cases) {
        SCOPED_TRACE(type);
        Registry other;
        lumtest::FakeModel& m = other.fill();
        std::fill_n(m.m_derDocsCachedA, 3, true);
        std::fill_n(m.m_derDocsCachedB, 3, true);
        for (auto* table :
             {&m.m_detailsCacheTable1, &m.m_detailsCacheTable2, &m.m_detailsCacheTable3}) {
            table->insert(u"D1", TevArray<std::int64_t>());
        }
        m.m_detailsCacheList.append(42);
        m.m_detailsCacheValid = true;
        m.setDocumentsManagerOpen(true); // stays open
        m.resetDerivedDocs(type);
        EXPECT_EQ(other.calls(), disposals);
        EXPECT_EQ(other.registered(), kept);
        EXPECT_EQ(recorder.take(), reports);
        for (int t = 0; t < 3; ++t) {
            const bool reset = t == type || type == E::eDocTypeAll;
            EXPECT_EQ((Ints{m.m_derDocsCachedA[t], m.m_derDocsCachedB[t]}), Ints(2, !reset)) << t;
        }
        const int all = type == E::eDocTypeAll;
        EXPECT_EQ((Ints{m.m_detailsCacheTable1.size(), m.m_detailsCacheTable2.size(),
                        m.m_detailsCacheTable3.size(), m.m_detailsCacheList.length(),
                        m.m_detailsCacheValid, m.isDocumentsManagerOpen(),
                        m.getDerivedDocs().size() == 0}),
                  (Ints{1 - all, 1 - all, 1 - all, 1 - all, 1 - all, 1, all}));
    }
    TevDerivedDocumentsModel::setFactory(&host.factory); // each of the others took it
}

TEST_F(TevDerivedDocumentsModelQueries, ResetADocumentModifiedExternallyAndRefillThoseWithout) {
    model.getAt(5, E::eDocTypeBom)->reset(); // registered, but without objects
    host.calls();
    model.modifiedExternallyAt(99); // an id that no document has
    model.modifiedExternallyAt(8);
    EXPECT_EQ(host.calls(), "disposeObject(H8)");
    EXPECT_EQ(host.registered(), "P1.nc Parts.txt A2.dwg A1.dwg"); // it stays registered
    model.addDerivedDocs(E::eDocTypeDetail, true);
    EXPECT_EQ(host.calls(), "beginCheckDerivedObjects addDerivedDetailDocs(1) "
                            "addAllDerivedObjects(A2.dwg,1000) endCheckDerivedObjects");
    model.addDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.calls({"isCommandActive", "checkDerivedObjects", "create"}),
              "addDerivedDetailDocs(0) addDerivedBomDocs(0) addDerivedNCDocs(0) "
              "addAllDerivedObjects(Parts.txt,0000)");
}

TEST_F(TevDerivedDocumentsModelQueries, CheckUpdateRequirementsWithOrWithoutProgress) {
    TevProcessEvolutionManager::setProcessEvolutionManager(nullptr);
    model.checkHasUpdReqForDerivedDocs(E::eDocTypeBom, true);
    EXPECT_EQ(recorder.take(), Names{"pManager"}); // and the check runs without one
    EXPECT_EQ(host.calls(), "prepareCheckHasUpdReq(1) addAllDerivedObjects(Parts.txt,0100)");

    TevProcessEvolutionManager manager; // uninstalls itself when it goes
    TevProcessEvolutionManager::setProcessEvolutionManager(&manager);
    const int otherKey = manager.getKeyForAction(u"Another action");
    const TevString shipped = Prompts::getPrompt(u"GUI", 45033);
    Prompts::setPrompt(u"GUI", 45033, u"Checking the derived documents of a test");
    model.checkHasUpdReqForDerivedDocs(E::eDocTypeDetail, true);
    Prompts::setPrompt(u"GUI", 45033, shipped);
    // only the details are asked to re-read
    EXPECT_EQ(host.calls(), "prepareCheckHasUpdReq(0) addAllDerivedObjects(A2.dwg,0100) "
                            "addAllDerivedObjects(A1.dwg,0100)");
    // every document counts: 10 * visited / 4 is 2, 5, 7 and 10
    const int key = manager.getKeyForAction(u"Checking the derived documents of a test");
    EXPECT_EQ((Ints{manager.getProgress(key), manager.getProgress(otherKey), key}),
              (Ints{24, 0, 2}));
    model.checkHasUpdReqForDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.calls(),
              "prepareCheckHasUpdReq(3) addAllDerivedObjects(P1.nc,0100) "
              "addAllDerivedObjects(Parts.txt,0100) addAllDerivedObjects(A2.dwg,0100) "
              "addAllDerivedObjects(A1.dwg,0100)");
    EXPECT_EQ(manager.getProgress(3), 0); // no progress asked for, no action named
}

// "file name|number|prefix|full file name|" of a drawing.
std::string fields(const TevDerivedDwgNo& drawing) {
    TevString fileName, fullFileName, number(u"before"), prefix;
    drawing.getFileName(fileName);
    drawing.getFullFileName(fullFileName);
    drawing.getDwgNo(number);
    drawing.getDwgNoPrefix(prefix);
    return text(fileName) + "|" + text(number) + "|" + text(prefix) + "|" + text(fullFileName) +
           "|";
}

TEST(TevDerivedDocumentsModelDrawingNumbers, ListEveryDrawingInRegistryOrderAndTableThemByKey) {
    EXPECT_EQ(fields(TevDerivedDwgNo()), "||||"); // the out arguments are replaced
    Registry host;
    host.addBom(5, "..\\BOM\\Parts.txt");
    // A3 has neither number nor prefix; A5's info is built later ("old" by the host).
    const char* const details[][2] = {{"7", "A-"}, {"12", "a-"}, {"", ""}};
    for (int id = 1; id <= 3; ++id) {
        const std::string path = "..\\Details\\A" + std::to_string(id) + ".dwg";
        const_cast<TevDerivedDocumentInfo*>(host.addDetail(id, path.c_str())->getInfo())
            ->setDwgNo(details[id - 1][0], details[id - 1][1]);
    }
    ASSERT_EQ(host.addDetail(5, "..\\Details\\A5.dwg")->cachedInfo(), nullptr);
    TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
    TevHashTable<int, TevDerivedDwgNo> byNumber;
    TevHashTable<TevString, TevDerivedDwgNo> byText;
    TevHashSet<TevString> set;
    const TevDerivedDwgNo caller(u"C.dwg", u"C:\\C.dwg", u"12", u"X-");
    byNumber.insert(12, caller);
    byText.insert(u"X-5", caller);
    set.insert(u"C:\\C.dwg");
    // Per entry of the lists, which hold a stale entry before, "file name|number|prefix|"
    // and the full file name of the lists' overload.
    const auto collect = [&](bool tables) {
        for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames, &fullFileNames}) {
            list->setLength(0);
            list->append(u"stale");
        }
        if (tables) {
            fullFileNames.setLength(0);
            host.model().getAllDerivedDetailDrawingNumbers(byNumber, byText, set, prefixes, numbers,
                                                           fileNames);
        } else {
            host.model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames,
                                                           fullFileNames);
        }
        Names out;
        for (int index = 0; index < fileNames.length(); ++index) {
            out.push_back(text(fileNames[index]) + "|" + text(numbers[index]) + "|" +
                          text(prefixes[index]) + "|" +
                          (tables ? "" : text(fullFileNames[index]) + "|"));
        }
        EXPECT_EQ(Ints({numbers.length(), prefixes.length(), fullFileNames.length()}),
                  Ints({fileNames.length(), fileNames.length(), tables ? 0 : fileNames.length()}));
        return joined(out);
    };
    const std::string dir = "C:\\Model\\DerDocs\\Details\\", c = "C.dwg|12|X-|C:\\C.dwg|",
                      a1 = "A1.dwg|7|A-|", a2 = "A2.dwg|12|a-|", a5 = "A5.dwg|old||";
    host.calls();
    EXPECT_EQ(collect(false), a5 + dir + "A5.dwg| " + a2 + dir + "A2.dwg| " + a1 + dir + "A1.dwg|");
    EXPECT_EQ(host.calls({"isCommandActive", "checkDerived", "fill", "derived", "beginGet",
                          "endGet", "model."}),
              "addDerivedDetailDocs(0)");
    EXPECT_EQ(collect(true), a5 + " " + a2 + " " + a1);
    // The tables: "#number key=fields", "upper-cased prefix and number key=fields" and
    // the full file names; the caller's entries keep their keys.
    std::string keyed;
    for (const auto* node = byNumber.first(); node != nullptr; node = byNumber.next(node)) {
        keyed += " #" + std::to_string(node->key()) + "=" + fields(node->value());
    }
    for (const auto* node = byText.first(); node != nullptr; node = byText.next(node)) {
        keyed += " " + text(node->key()) + "=" + fields(node->value());
    }
    for (const auto* node = set.first(); node != nullptr; node = set.next(node)) {
        keyed += " " + text(node->key());
    }
    EXPECT_EQ(keyed, " #0=" + a5 + dir + "A5.dwg| #7=" + a1 + dir + "A1.dwg| #12=" + c +
                         " A-12=" + a2 + dir + "A2.dwg| X-5=" + c + " 0=" + a5 + dir +
                         "A5.dwg| A-7=" + a1 + dir + "A1.dwg| " + dir + "A1.dwg " + dir +
                         "A5.dwg C:\\C.dwg " + dir + "A2.dwg");
}

} // namespace
