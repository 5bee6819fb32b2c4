#include "TevDerivedDocumentsModel.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::ScopedAllocationFailure;
using lumtest::ScopedAssertionRecorder;
using E = TevDerDocEnums;
using Calls = std::vector<std::string>;
using Docs = std::vector<TevDerivedDocument*>;
using Objects = std::vector<TevDerivedObject*>;

// Owners of documents, objects and infos cannot be copied: a copy would dispose of them
// a second time.
template <class T>
constexpr bool kNoCopy = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T>;
static_assert(kNoCopy<TevDerivedDocumentsModel> && kNoCopy<TevDerivedDocument> &&
              kNoCopy<TevDerivedObject>);

// Calls that accompany every object construction and status read.
Calls hostCalls(const FakeHost& host) {
    return host.log.calls({"isCommandActive"});
}

Docs registered(FakeHost& host) {
    TevArray<TevDerivedDocument*> docs;
    host.model().getDerivedDocs(docs);
    return Docs(docs.begin(), docs.end());
}

// The objects of `doc`, after `extra` detail objects made by the host were added to it.
Objects objectsOf(FakeHost& host, TevDerivedDocument* doc, int extra = 0) {
    for (int index = 1; index <= extra; ++index) {
        doc->addDerivedObject(host.factory.makeDetailObject(doc, 10 + index, TevString()), false);
    }
    TevArray<TevDerivedObject*> objects;
    doc->getDerivedObjects(objects, E::eDocTypeAll);
    return Objects(objects.begin(), objects.end());
}

const std::string kNoMemory = "pElements != NULL && numElements > 0";
constexpr std::size_t kNodeSize = sizeof(TevDerivedDocumentsModel::DocumentTable::Node);
constexpr std::size_t kListEntrySize = sizeof(void*);

TevArray<TevDocManObject> rowsFor(std::initializer_list<TevDerivedObject*> objects) {
    TevArray<TevDocManObject> table;
    for (TevDerivedObject* obj : objects) {
        table.append(TevDocManObject());
        table[table.length() - 1].m_derivedObject = obj;
    }
    return table;
}

TEST(TevDerivedDocumentsModel, RegistersADocumentOncePerKeyUnlessItOrItsPathIsRefused) {
    FakeHost host;
    EXPECT_EQ(host.addDetail(7, ""), nullptr);
    EXPECT_EQ(host.addNC("", E::eDocSubTypeDstv, "x", false), nullptr);
    EXPECT_EQ(host.addBom(5, ""), nullptr);
    EXPECT_TRUE(hostCalls(host).empty()) << "not even the report manager is asked";
    host.model().reportManager = nullptr;
    EXPECT_EQ(host.addBom(5, "..\\BOM\\Parts.txt"), nullptr);
    EXPECT_EQ(hostCalls(host), Calls{"getReportManager"});
    host.model().reportManager = &host.reportManager;
    host.factory.nullDocuments = true;
    EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg"), nullptr) << "a null document is refused";
    host.factory.nullDocuments = false;

    host.log.clear();
    lumtest::FakeDetailDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg", true, false, true);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(hostCalls(host), (Calls{"createDetailDocument(7,..\\Details\\A1.dwg)",
                                      "addAllDerivedObjects(A1.dwg,1001)"}));
    host.log.clear();
    EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg", true, true, true), doc);
    EXPECT_EQ(hostCalls(host),
              (Calls{"createDetailDocument(7,..\\Details\\A1.dwg)", "disposeDocument(A1.dwg)",
                     "addAllDerivedObjects(A1.dwg,1110)"}))
        << "a detail registered before keeps its statuses";

    host.reportManager.dstvReports.insert(5);
    host.log.clear();
    TevDerivedDocument* bom = host.addBom(5, "..\\DSTV\\List.txt");
    Calls calls = hostCalls(host);
    calls.resize(4);
    EXPECT_EQ(calls, (Calls{"getReportManager", "isDstvReport(5)",
                            "createBomDocument(5,..\\DSTV\\List.txt,1)",
                            "addAllDerivedObjects(List.txt,0000)"}));
    host.log.clear();
    EXPECT_EQ(host.addBom(5, "..\\DSTV\\List.txt", false, false, true), bom);
    EXPECT_EQ(host.log.only("addAll"), Calls{"addAllDerivedObjects(List.txt,0101)"})
        << "BOM and NC documents pass resetStatus on";

    doc->script.addAll = [](auto&, bool, bool, bool, bool) { return 0; };
    host.factory.documentScript.addAll = doc->script.addAll;
    host.log.clear();
    EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg"), nullptr);
    EXPECT_EQ(hostCalls(host),
              (Calls{"createDetailDocument(7,..\\Details\\A1.dwg)", "disposeDocument(A1.dwg)",
                     "addAllDerivedObjects(A1.dwg,0100)", "disposeDocument(A1.dwg)",
                     "disposeObject(H7)"}));
    EXPECT_EQ(host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false), nullptr);
    EXPECT_EQ(hostCalls(host).back(), "disposeDocument(P1.nc)");
    EXPECT_EQ(registered(host), Docs{bom});
}

TEST(TevDerivedDocumentsModel, RegistrationWithoutMemoryForItsNodeGivesTheNewDocumentBack) {
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noNodes(0, kNodeSize);
        host.log.clear();
        EXPECT_EQ(host.addDetail(8, "..\\Details\\A2.dwg"), nullptr);
        EXPECT_EQ(hostCalls(host), (Calls{"createDetailDocument(8,..\\Details\\A2.dwg)",
                                          "addAllDerivedObjects(A2.dwg,0000)",
                                          "disposeDocument(A2.dwg)", "disposeObject(H8)"}));
        host.log.clear();
        EXPECT_EQ(host.addBom(6, "..\\BOM\\Plates.txt", true), nullptr);
        EXPECT_EQ(host.log.only("dispose"),
                  (Calls{"disposeDocument(Plates.txt)", "disposeObject(Plates.txt:bom)"}));
        host.log.clear();
        EXPECT_EQ(host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false), nullptr);
        EXPECT_EQ(host.log.only("dispose"),
                  (Calls{"disposeDocument(P1.nc)", "disposeObject(P1.nc:nc)"}));
        EXPECT_EQ(recorder.take(), Calls(3, kNoMemory));

        EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg"), a1)
            << "a document registered before needs no node";
        EXPECT_TRUE(recorder.texts().empty());
        EXPECT_EQ(noNodes.refused(), 3);
    }
    Docs docs = registered(host);
    std::sort(docs.begin(), docs.end());
    Docs expected{a1, parts};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(docs, expected) << "the documents registered before are all there";
    EXPECT_EQ(host.factory.liveDocuments(), 2U);
    EXPECT_EQ(host.factory.liveObjects(), 2U) << "each new document went with its object";

    TevDerivedDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    ASSERT_NE(a2, nullptr) << "registration works again once memory is back";
    EXPECT_EQ(host.model().getAt(8, E::eDocTypeDetail), a2);
}

TEST(TevDerivedDocumentsModel, DocumentWithoutMemoryForItsObjectListIsRefusedWithItsObject) {
    FakeHost host;
    ScopedAssertionRecorder recorder;
    {
        // Every list of pointers is refused, so no document can list an object.
        const ScopedAllocationFailure noLists(0, kListEntrySize);
        EXPECT_EQ(host.addBom(6, "..\\BOM\\Plates.txt", false, false, true), nullptr);
        EXPECT_EQ(host.log.only("dispose"),
                  (Calls{"disposeObject(Plates.txt:bom)", "disposeDocument(Plates.txt)"}))
            << "the object that the list could not take went back at once";
        host.log.clear();
        EXPECT_EQ(host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false, true), nullptr);
        EXPECT_EQ(host.log.only("dispose"),
                  (Calls{"disposeObject(P1.nc:nc)", "disposeDocument(P1.nc)"}));
        host.log.clear();
        EXPECT_EQ(host.addDetail(8, "..\\Details\\A2.dwg"), nullptr)
            << "the host's detail kind gives back what addDerivedObject refused";
        EXPECT_EQ(host.log.only("dispose"),
                  (Calls{"disposeObject(H8)", "disposeDocument(A2.dwg)"}));
        EXPECT_EQ(recorder.take(), Calls(3, kNoMemory));
    }
    EXPECT_EQ(host.factory.liveDocuments() + host.factory.liveObjects(), 0U);
    EXPECT_TRUE(registered(host).empty());
}

TEST(TevDerivedDocumentsModel, RenameThatCannotBeFiledForWantOfMemoryGivesTheDocumentBack) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    TevArray<TevDocManObject> table = rowsFor({objectsOf(host, a1)[0], objectsOf(host, a2)[0]});
    model.setDocManObjects(&table);
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noNodes(0, kNodeSize);
        host.log.clear();
        model.derivedDocFileNameChanged(a1->getKey(), u"..\\Details\\B1.dwg", u"");
    }
    EXPECT_EQ(recorder.take(), Calls{kNoMemory});
    EXPECT_EQ(host.log.only("dispose"), (Calls{"disposeDocument(B1.dwg)", "disposeObject(H7)"}))
        << "neither kept under its old key nor lost: handed back to the factory";
    EXPECT_EQ(registered(host), Docs{a2});
    ASSERT_EQ(table.length(), 1) << "its rows left the table";
    EXPECT_EQ(table[0].m_derivedObject, objectsOf(host, a2)[0]);
    model.setDocManObjects(nullptr);
}

TEST(TevDerivedDocumentsModel, DuplicateGroupIsFormedOnlyWithTheMembersItCanList) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    const Objects o = objectsOf(host, doc, 3);
    const auto set = [&o](std::initializer_list<int> indexes) {
        TevArray<TevDerivedObject*> objects;
        for (const int index : indexes) {
            objects.append(o[index]);
        }
        return objects;
    };
    const TevArray<TevDerivedObject*> pair01 = set({0, 1});
    const TevArray<TevDerivedObject*> pair02 = set({0, 2});
    const TevArray<TevDerivedObject*> pair03 = set({0, 3});
    ScopedAssertionRecorder recorder;
    {
        // The scratch list of the members and the new group's copy of it are granted;
        // the model's list of groups is refused.
        const ScopedAllocationFailure thirdFails(2, 0, 1);
        model.appendDuplicateObjects(pair01);
    }
    EXPECT_EQ(recorder.take(), Calls{kNoMemory});
    EXPECT_TRUE(model.getDuplicates().isEmpty());
    EXPECT_EQ(o[0]->getDuplicateInfo(), nullptr) << "no object points at a group nobody holds";
    EXPECT_EQ(o[1]->getDuplicateInfo(), nullptr);
    {
        const ScopedAllocationFailure noMemory;
        model.appendDuplicateObjects(pair01);
    }
    EXPECT_EQ(recorder.take(), Calls(2, kNoMemory)) << "no scratch list for either member";
    EXPECT_TRUE(model.getDuplicates().isEmpty());

    model.appendDuplicateObjects(pair01);
    ASSERT_EQ(model.getDuplicates().length(), 1);
    TevDerivedObjectDuplicateInfo* group = model.getDuplicates()[0];
    ASSERT_EQ(group->getObjects().length(), 2) << "the group's list is full";
    {
        // The scratch list is granted; the group's longer list for object 2 is refused.
        const ScopedAllocationFailure secondFails(1, 0, 1);
        model.appendDuplicateObjects(pair02);
    }
    EXPECT_EQ(recorder.take(), Calls{kNoMemory});
    EXPECT_EQ(group->getObjects().length(), 2);
    EXPECT_EQ(o[2]->getDuplicateInfo(), nullptr) << "not a member, so in no group";
    model.removeObjectFromDuplicate(o[0]); // the group dissolves
    EXPECT_TRUE(model.getDuplicates().isEmpty());
    EXPECT_FALSE(o[1]->isDuplicate() || o[2]->isDuplicate());

    // The model's list kept its storage; a new group that can list none of its
    // members (its copy of them and each later entry refused) is dropped again.
    {
        const ScopedAllocationFailure onlyTheScratchList(1);
        model.appendDuplicateObjects(pair03);
    }
    EXPECT_EQ(recorder.take(), Calls(3, kNoMemory));
    EXPECT_TRUE(model.getDuplicates().isEmpty());
    EXPECT_EQ(o[0]->getDuplicateInfo(), nullptr);
    EXPECT_EQ(o[3]->getDuplicateInfo(), nullptr);

    model.appendDuplicateObjects(pair03);
    EXPECT_TRUE(o[0]->isDuplicate() && o[3]->isDuplicate());
    EXPECT_TRUE(recorder.texts().empty());
}

TEST(TevDerivedDocumentsModel, GroupsOfObjectsOutsideItsRegistryGoWithTheModel) {
    FakeHost host;
    lumtest::CallLog log;
    lumtest::FakeDetailObject first(log, "first", nullptr, 1, u"F1");
    lumtest::FakeDetailObject second(log, "second", nullptr, 2, u"F2");
    TevArray<TevDerivedObject*> set;
    set.append(&first);
    set.append(&second);
    host.model().appendDuplicateObjects(set);
    ASSERT_TRUE(first.isDuplicate() && second.isDuplicate());
    host.destroyModel();
    EXPECT_EQ(first.getDuplicateInfo(), nullptr) << "the group went and let its members go";
    EXPECT_EQ(second.getDuplicateInfo(), nullptr);
}

TEST(TevDerivedDocumentsModel, ReservedOperationsOfModelFactoryAndReportManagerDoNothing) {
    FakeHost host;
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocumentsModel& model = host.model();
    host.log.clear();
    // The library's own versions, which a host need not override.
    model.TevDerivedDocumentsModel::reserved1();
    model.TevDerivedDocumentsModel::reserved2();
    model.TevDerivedDocumentsModel::reserved3();
    model.TevDerivedDocumentsModel::reserved4();
    model.TevDerivedDocumentsModel::reserved5();
    model.TevDerivedDocumentsModel::reserved6();
    model.TevDerivedDocumentsModel::reserved7();
    model.TevDerivedDocumentsModel::reserved8();
    model.TevDerivedDocumentsModel::reserved9();
    model.TevDerivedDocumentsModel::reserved10();
    model.TevDerivedDocumentsModel::reserved12();
    model.TevDerivedDocumentsModel::reserved15();
    model.TevDerivedDocumentsModel::reserved16();
    model.TevDerivedDocumentsModel::reserved22();
    model.TevDerivedDocumentsModel::reserved24();
    model.TevDerivedDocumentsModel::reserved26();
    model.TevDerivedDocumentsModel::reserved27();
    model.TevDerivedDocumentsModel::reserved28();
    model.TevDerivedDocumentsModel::reserved29();
    model.TevDerivedDocumentsModel::reserved30();
    model.TevDerivedDocumentsModel::reserved31();
    model.TevDerivedDocumentsModel::reserved32();
    model.TevDerivedDocumentsModel::reserved33();
    model.TevDerivedDocumentsModel::reserved34();
    model.TevDerivedDocumentsModel::reserved35();
    model.TevDerivedDocumentsModel::reserved36();
    model.TevDerivedDocumentsModel::reserved37();
    model.TevDerivedDocumentsModel::beginCheckDerivedObjects();
    model.TevDerivedDocumentsModel::endCheckDerivedObjects();
    model.TevDerivedDocumentsModel::reserved40();
    model.TevDerivedDocumentsModel::reserved41();
    model.TevDerivedDocumentsModel::reserved44();
    model.TevDerivedDocumentsModel::reserved45();
    model.TevDerivedDocumentsModel::reserved46();
    model.TevDerivedDocumentsModel::reserved47();
    host.factory.TevDerivedDocumentsFactory::reserved5();
    TevReportManager& reports = host.reportManager;
    reports.TevReportManager::reserved0();
    reports.TevReportManager::reserved1();
    reports.TevReportManager::reserved2();
    reports.TevReportManager::reserved3();
    reports.TevReportManager::reserved6();
    EXPECT_TRUE(host.log.calls().empty()) << "nothing reached the host";
    EXPECT_EQ(registered(host), Docs{doc});
    EXPECT_EQ(host.factory.liveObjects(), 1U);
}

TEST(TevDerivedDocumentsModel, RemovesAndUnregistersOnlyThroughTheFactory) {
    ScopedAssertionRecorder recorder;
    FakeHost host;
    const TevDerivedDocKey detailKey = host.addDetail(7, "..\\Details\\A1.dwg")->getKey();
    const TevDerivedDocKey bomKey = host.addBom(5, "..\\BOM\\Parts.txt")->getKey();
    TevDerivedDocumentsModel::setFactory(nullptr);
    host.log.clear();
    EXPECT_EQ(host.addDetail(8, "..\\Details\\A2.dwg"), nullptr);
    EXPECT_EQ(host.addBom(6, "..\\BOM\\More.txt"), nullptr);
    EXPECT_FALSE(host.model().removeDoc(detailKey));
    EXPECT_EQ(host.model().unregistDoc(detailKey), E::eStatusFailed);
    host.model().resetDerivedDocs(E::eDocTypeAll);
    EXPECT_EQ(hostCalls(host), Calls{"getReportManager"});
    EXPECT_EQ(recorder.take(), (Calls{"pFact", "pFact", "m_docs.size() == 0"}));
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_EQ(registered(host).size(), 2U) << "nothing is registered or removed without it";

    EXPECT_TRUE(host.model().removeDoc(detailKey));
    EXPECT_FALSE(host.model().removeDoc(detailKey));
    EXPECT_EQ(recorder.take(), Calls{"0"});
    EXPECT_EQ(host.model().unregistDoc(detailKey), E::eStatusFailed);
    EXPECT_TRUE(recorder.texts().empty()) << "an unknown key is no broken precondition here";

    host.reportManager.withdrawResult = 0;
    host.log.clear();
    EXPECT_EQ(host.model().unregistDoc(bomKey), E::eStatusFailed);
    EXPECT_EQ(hostCalls(host),
              (Calls{"deregistFromModel(Parts.txt)", "getReportManager",
                     "withdrawReport(5,..\\BOM\\Parts.txt)", "disposeDocument(Parts.txt)",
                     "disposeObject(Parts.txt:bom)"}));
    EXPECT_TRUE(registered(host).empty()) << "removed although the report stayed";
    host.reportManager.withdrawResult = 1;
    EXPECT_EQ(host.model().unregistDoc(host.addBom(5, "..\\BOM\\Parts.txt")->getKey()),
              E::eStatusOk);
}

TEST(TevDerivedDocumentsModel, FindsDocumentsByIdAndByNameIgnoringCase) {
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* parts = host.addBom(7, "..\\BOM\\Parts.txt");
    TevDerivedDocument* p1 = host.addNC("NC\\P1.nc", E::eDocSubTypeNCNamed, "p1", false);
    TevDerivedDocument* p2 = host.addNC("NC\\P2.nc", E::eDocSubTypeNCNamed, "p2", false);
    TevDerivedDocumentsModel& model = host.model();
    EXPECT_EQ(model.getAt(7, E::eDocTypeDetail), a1);
    EXPECT_EQ(model.getAt(7, E::eDocTypeBom), parts);
    EXPECT_EQ(model.getAt(7, E::eDocTypeNC), nullptr);
    EXPECT_EQ(model.getAt(std::int64_t{7} + (std::int64_t{1} << 32), E::eDocTypeAll), nullptr);
    const Docs all = registered(host);
    EXPECT_EQ(
        model.getAt(1, E::eDocTypeAll),
        *std::find_if(all.begin(), all.end(), [&](auto* doc) { return doc == p1 || doc == p2; }))
        << "the first in registry order";

    EXPECT_EQ(model.getAt(u"a1.DWG", E::eDocTypeAll), a1);
    EXPECT_EQ(model.getAt(u"c:\\model\\derdocs\\bom\\PARTS.TXT", E::eDocTypeAll), parts);
    EXPECT_EQ(model.getAt(u"C:\\Model\\DerDocs\\NC\\P2.nc", E::eDocTypeNC), p2);
    EXPECT_EQ(model.getAt(u"A1.dwg", E::eDocTypeBom), nullptr);
    EXPECT_EQ(model.getAt(u"\\Details\\A1.dwg", E::eDocTypeAll), nullptr);
}

TEST(TevDerivedDocumentsModel, RefilesARenamedDocumentOrDisposesOfItWhenItsNewKeyIsTaken) {
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* a2 = host.addDetail(7, "..\\Details\\A2.dwg");
    TevArray<TevDocManObject> table =
        rowsFor({objectsOf(host, a1)[0], nullptr, objectsOf(host, a2)[0]});
    host.model().setDocManObjects(&table);
    const TevDerivedDocKey oldKey = a1->getKey();
    host.model().derivedDocFileNameChanged(oldKey, u"D:\\Other\\B2.dwg", u"other");
    EXPECT_EQ(host.model().getAt(u"b2.dwg", E::eDocTypeDetail), a1);
    EXPECT_EQ(host.model().getDerivedDocs().find(oldKey), nullptr);
    EXPECT_NE(host.model().getDerivedDocs().find(a1->getKey()), nullptr);
    ASSERT_EQ(table.length(), 2) << "the rows of its objects are taken out";
    EXPECT_EQ(table[0].m_derivedObject, nullptr);
    host.log.clear();
    host.model().derivedDocFileNameChanged(oldKey, u"x", u"y");
    EXPECT_TRUE(hostCalls(host).empty()) << "an unregistered key changes nothing";
    EXPECT_EQ(table.length(), 2);

    host.model().derivedDocFileNameChanged(a2->getKey(), u"..\\Details\\B2.dwg", u"");
    EXPECT_EQ(hostCalls(host), (Calls{"disposeDocument(B2.dwg)", "disposeObject(H7)"}))
        << "the renamed document goes back to the factory; nothing is lost";
    EXPECT_EQ(table.length(), 1);
    EXPECT_EQ(registered(host), Docs{a1});
    host.model().setDocManObjects(nullptr);
}

TEST(TevDerivedDocumentsModel, ResetsTheDocumentsOfOneKindOrAllWithTheirCaches) {
    ScopedAssertionRecorder recorder;
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    EXPECT_FALSE(model.isCacheOn());
    model.enableCache();
    EXPECT_EQ(hostCalls(host), Calls{"disableAndDeleteCache"}) << "the host's override";
    EXPECT_TRUE(model.isCacheOn());
    model.resetDetailsCache();
    EXPECT_EQ(model.m_detailsCacheTable1.bucketCount(), 53);

    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
    host.addNC("NC\\P2.nc", E::eDocSubTypeDstv, "", true);
    std::fill_n(model.m_derDocsCachedA, 3, true);
    std::fill_n(model.m_derDocsCachedB, 3, true);
    for (int index = 0; index < 60; ++index) {
        TevString name;
        name.format(u"D%d", index);
        model.m_detailsCacheTable1.insert(name, TevArray<std::int64_t>());
        model.m_detailsCacheTable3.insert(name, TevArray<std::int64_t>());
    }
    model.m_detailsCacheList.append(42);
    model.m_detailsCacheValid = true;

    model.resetDerivedDocs(E::eDocTypeNC);
    EXPECT_EQ(host.factory.disposedDocuments(), 2);
    EXPECT_EQ(registered(host).size(), 2U);
    EXPECT_FALSE(model.m_derDocsCachedA[E::eDocTypeNC] || model.m_derDocsCachedB[E::eDocTypeNC]);
    EXPECT_TRUE(model.m_derDocsCachedA[E::eDocTypeBom] &&
                model.m_derDocsCachedB[E::eDocTypeDetail]);
    EXPECT_TRUE(model.m_detailsCacheValid) << "only a reset of all empties the details cache";
    model.resetDerivedDocs(static_cast<E::eDocType>(7));
    EXPECT_EQ(recorder.take(), Calls{"false"});
    EXPECT_EQ(registered(host).size(), 2U);

    model.resetDerivedDocs(E::eDocTypeAll);
    EXPECT_EQ(host.factory.liveDocuments() + host.factory.liveObjects(), 0U);
    EXPECT_FALSE(model.m_derDocsCachedA[E::eDocTypeBom] ||
                 model.m_derDocsCachedB[E::eDocTypeDetail]);
    EXPECT_EQ(model.m_detailsCacheTable1.size() + model.m_detailsCacheTable3.size(), 0);
    EXPECT_EQ(model.m_detailsCacheTable1.bucketCount(), 97) << "the bucket count stays";
    EXPECT_TRUE(model.m_detailsCacheList.isEmpty());
    EXPECT_EQ(model.m_detailsCacheList.physicalLength(), 8) << "the list keeps its storage";
    EXPECT_FALSE(model.m_detailsCacheValid);
}

TEST(TevDerivedDocumentsModel, FormsMovesAndDissolvesDuplicateGroupsAndDisposesOfThemAtTheEnd) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    const Objects o = objectsOf(host, doc, 3);
    const auto duplicates = [&](std::initializer_list<int> indexes) {
        TevArray<TevDerivedObject*> set;
        for (const int index : indexes) {
            set.append(o[index]);
        }
        model.appendDuplicateObjects(set);
    };
    duplicates({0});
    duplicates({0, 0});
    EXPECT_EQ(o[0]->getDuplicateInfo(), nullptr) << "one object, however often named, is no set";
    duplicates({0, 1});
    duplicates({0, 1});
    ASSERT_EQ(model.getDuplicates().length(), 1) << "the same set forms one group";
    EXPECT_TRUE(o[0]->isDuplicate() && o[1]->isDuplicate());
    duplicates({0, 1, 2}); // 2 joins the group of 0 as a member
    EXPECT_EQ(o[0]->getDuplicateInfo()->getObjects().length(), 3);
    for (int round = 0; round < 2; ++round) { // the second time 1 is in no group
        model.removeObjectFromDuplicate(o[1]);
        EXPECT_EQ(o[1]->getDuplicateInfo(), nullptr);
        EXPECT_TRUE(o[0]->isDuplicate() && o[2]->isDuplicate());
        EXPECT_EQ(model.getDuplicates().length(), 1);
    }

    duplicates({3, 1, 0});
    EXPECT_EQ(o[2]->getDuplicateInfo(), nullptr) << "its group lost its other member";
    ASSERT_EQ(model.getDuplicates().length(), 1);
    const TevDerivedObjectDuplicateInfo* group = model.getDuplicates()[0];
    EXPECT_EQ(group->getObjects().length(), 3);
    for (const int index : {0, 1, 3}) {
        EXPECT_EQ(o[index]->getDuplicateInfo(), group) << index;
    }
    model.removeObjectFromDuplicate(nullptr); // no object, no group: nothing changes
    EXPECT_EQ(group->getObjects().length(), 3);
    doc->deleteDerivedObject(o[3]);
    EXPECT_EQ(group->getObjects().length(), 2) << "a destroyed object leaves its group";
    model.derivedObjectDeleted(o[0]);
    EXPECT_EQ(o[1]->getDuplicateInfo(), nullptr) << "a group of one dissolves";
    EXPECT_TRUE(model.getDuplicates().isEmpty());

    duplicates({1, 2}); // a group left for the model's destruction
    host.log.clear();
    host.destroyModel();
    EXPECT_EQ(host.factory.liveDocuments() + host.factory.liveObjects(), 0U);
    EXPECT_EQ(host.log.only("dispose").size(), 6U);
}

TEST(TevDerivedDocumentsModel, ErasesRowsAtOnceOrMarksThemWhileTheManagerIsOpen) {
    FakeHost host;
    lumtest::FakeModel& model = host.model();
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    const Objects o = objectsOf(host, doc, 2);
    TevArray<TevDocManObject> table = rowsFor({o[0], o[1], o[1], o[2], o[0]});
    EXPECT_EQ(model.setDocManObjects(&table), 1);
    model.setDocumentsManagerOpen(true);
    doc->deleteDerivedObject(o[1]);
    ASSERT_EQ(table.length(), 5) << "marked, not erased, while the manager is open";
    EXPECT_TRUE(table[1].m_removed && table[2].m_removed);
    EXPECT_FALSE(table[0].m_removed || table[3].m_removed);
    table[4].m_removed = true; // marked by the host itself

    for (int close = 1; close <= 2; ++close) {
        model.setDocumentsManagerOpen(false);
        ASSERT_EQ(table.length(), 2) << "adjacent marked rows are both erased, close " << close;
        EXPECT_EQ(table[0].m_derivedObject, o[0]);
        EXPECT_EQ(table[1].m_derivedObject, o[2]);
    }
    doc->deleteDerivedObject(0);
    ASSERT_EQ(table.length(), 1) << "erased at once while the manager is closed";
    EXPECT_EQ(table[0].m_derivedObject, o[2]);
    EXPECT_EQ(model.setDocManObjects(nullptr), 0);
}

} // namespace
