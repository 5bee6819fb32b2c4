#include "TevDerivedDocumentsModel.h"

#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::ScopedAssertionRecorder;
using E = TevDerDocEnums;
using Calls = std::vector<std::string>;

using FakeModelAccess = lumtest::FakeModel;

// Owners of documents, objects and infos cannot be copied: a copy would dispose of them
// a second time.
static_assert(!std::is_copy_constructible_v<TevDerivedDocumentsModel> &&
              !std::is_copy_assignable_v<TevDerivedDocumentsModel>);
static_assert(!std::is_copy_constructible_v<TevDerivedDocument> &&
              !std::is_copy_assignable_v<TevDerivedDocument>);
static_assert(!std::is_copy_constructible_v<TevDerivedObject> &&
              !std::is_copy_assignable_v<TevDerivedObject>);

// Calls that accompany every object construction and status read.
Calls hostCalls(const FakeHost& host) {
    return host.log.calls({"isCommandActive"});
}

std::vector<TevDerivedDocument*> registered(FakeHost& host) {
    TevArray<TevDerivedDocument*> docs;
    host.model().getDerivedDocs(docs);
    return std::vector<TevDerivedDocument*>(docs.begin(), docs.end());
}

TevDerivedDocKey detailKeyWith(TevDerivedDocKey key, const TevString& fileName) {
    key.m_fileName = fileName;
    return key;
}

TevDerivedObject* firstObject(const TevDerivedDocument* doc) {
    TevArray<TevDerivedObject*> objects;
    doc->getDerivedObjects(objects, TevDerDocEnums::eDocTypeAll);
    return objects.isEmpty() ? nullptr : objects[0];
}

TevDocManObject rowFor(TevDerivedObject* obj) {
    TevDocManObject row;
    row.m_derivedObject = obj;
    return row;
}

TEST(TevDerivedDocumentsModel, RegistersANewKeyOnceItsDocumentAddedItsObjects) {
    FakeHost host;
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg", true, false, true);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(hostCalls(host), (Calls{"createDetailDocument(7,..\\Details\\A1.dwg)",
                                      "addAllDerivedObjects(A1.dwg,1001)"}));
    EXPECT_EQ(host.model().getAt(7, E::eDocTypeDetail), doc);
    EXPECT_EQ(registered(host), std::vector<TevDerivedDocument*>{doc});
    EXPECT_EQ(host.model().getDerivedDocs().find(doc->getKey())->value(), doc);
}

TEST(TevDerivedDocumentsModel, KeepsTheFirstDocumentOfAKey) {
    FakeHost host;
    TevDerivedDocument* first = host.addDetail(7, "..\\Details\\A1.dwg");
    host.log.clear();
    EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg", true, true, true), first);
    EXPECT_EQ(hostCalls(host),
              (Calls{"createDetailDocument(7,..\\Details\\A1.dwg)", "disposeDocument(A1.dwg)",
                     "addAllDerivedObjects(A1.dwg,1110)"}))
        << "a detail registered before keeps its statuses";

    TevDerivedDocument* bom = host.addBom(5, "..\\BOM\\Parts.txt");
    host.log.clear();
    EXPECT_EQ(host.addBom(5, "..\\BOM\\Parts.txt", false, false, true), bom);
    EXPECT_EQ(host.log.only("addAll"), Calls{"addAllDerivedObjects(Parts.txt,0101)"})
        << "BOM and NC documents pass resetStatus on";
    EXPECT_EQ(registered(host).size(), 2U);
}

TEST(TevDerivedDocumentsModel, RefusalByTheDocumentKeepsOrRemovesItFromTheRegistry) {
    FakeHost host;
    host.factory.documentScript.addAll = [](TevDerivedDocument&, bool, bool already, bool, bool) {
        return already ? 0 : 1;
    };
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    ASSERT_NE(doc, nullptr);
    host.log.clear();
    EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg"), nullptr);
    EXPECT_EQ(hostCalls(host),
              (Calls{"createDetailDocument(7,..\\Details\\A1.dwg)", "disposeDocument(A1.dwg)",
                     "addAllDerivedObjects(A1.dwg,0100)", "disposeDocument(A1.dwg)"}));
    EXPECT_TRUE(registered(host).empty());

    host.factory.documentScript.addAll = [](TevDerivedDocument&, bool, bool, bool, bool) {
        return 0;
    };
    host.log.clear();
    EXPECT_EQ(host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false), nullptr);
    EXPECT_EQ(hostCalls(host).back(), "disposeDocument(P1.nc)");
    EXPECT_TRUE(registered(host).empty());
}

TEST(TevDerivedDocumentsModel, RegistersNothingWithoutPathFactoryReportManagerOrDocument) {
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

    TevDerivedDocumentsModel::setFactory(nullptr);
    host.log.clear();
    EXPECT_EQ(host.addDetail(7, "..\\Details\\A1.dwg"), nullptr);
    EXPECT_EQ(host.addBom(5, "..\\BOM\\Parts.txt"), nullptr);
    EXPECT_EQ(hostCalls(host), Calls{"getReportManager"});
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_TRUE(registered(host).empty());
}

TEST(TevDerivedDocumentsModel, AsksTheReportManagerWhetherABomIsADstvList) {
    FakeHost host;
    host.reportManager.dstvReports.insert(9);
    TevDerivedDocument* dstv = host.addBom(9, "..\\DSTV\\List.txt");
    ASSERT_NE(dstv, nullptr);
    EXPECT_EQ(dstv->getKey().m_subType, E::eDocSubTypeDstv);
    EXPECT_EQ(hostCalls(host)[0], "getReportManager");
    EXPECT_EQ(hostCalls(host)[1], "isDstvReport(9)");
    EXPECT_EQ(hostCalls(host)[2], "createBomDocument(9,..\\DSTV\\List.txt,1)");
}

TEST(TevDerivedDocumentsModel, RemovesAndUnregistersThroughTheFactory) {
    ScopedAssertionRecorder recorder;
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    const TevDerivedDocKey detailKey = a1->getKey();
    const TevDerivedDocKey bomKey = parts->getKey();

    EXPECT_TRUE(host.model().removeDoc(detailKey));
    EXPECT_FALSE(host.model().removeDoc(detailKey));
    EXPECT_EQ(recorder.take(), std::vector<std::string>{"0"});
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

    parts = host.addBom(5, "..\\BOM\\Parts.txt");
    host.reportManager.withdrawResult = 1;
    EXPECT_EQ(host.model().unregistDoc(parts->getKey()), E::eStatusOk);
}

TEST(TevDerivedDocumentsModel, RemovesNothingWithoutAFactory) {
    ScopedAssertionRecorder recorder;
    FakeHost host;
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocumentsModel::setFactory(nullptr);
    EXPECT_FALSE(host.model().removeDoc(doc->getKey()));
    EXPECT_EQ(host.model().unregistDoc(doc->getKey()), E::eStatusFailed);
    host.model().resetDerivedDocs(E::eDocTypeAll);
    EXPECT_EQ(recorder.take(), (std::vector<std::string>{"pFact", "pFact", "m_docs.size() == 0"}));
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_EQ(registered(host), std::vector<TevDerivedDocument*>{doc});
}

TEST(TevDerivedDocumentsModel, FindsDocumentsByIdAndByNameIgnoringCase) {
    FakeHost host(u"C:\\Model\\DerDocs");
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* parts = host.addBom(7, "..\\BOM\\Parts.txt");
    TevDerivedDocument* p1 = host.addNC("NC\\P1.nc", E::eDocSubTypeNCNamed, "p1", false);
    TevDerivedDocument* p2 = host.addNC("NC\\P2.nc", E::eDocSubTypeNCNamed, "p2", false);

    TevDerivedDocumentsModel& model = host.model();
    EXPECT_EQ(model.getAt(7, E::eDocTypeDetail), a1);
    EXPECT_EQ(model.getAt(7, E::eDocTypeBom), parts);
    EXPECT_EQ(model.getAt(7, E::eDocTypeNC), nullptr);
    EXPECT_EQ(model.getAt(std::int64_t{7} + (std::int64_t{1} << 32), E::eDocTypeAll), nullptr);
    const TevDerivedDocument* firstNc = nullptr;
    for (TevDerivedDocument* doc : registered(host)) {
        if (firstNc == nullptr && (doc == p1 || doc == p2)) {
            firstNc = doc;
        }
    }
    EXPECT_EQ(model.getAt(1, E::eDocTypeAll), firstNc) << "the first in registry order";

    EXPECT_EQ(model.getAt(u"a1.DWG", E::eDocTypeAll), a1);
    EXPECT_EQ(model.getAt(u"c:\\model\\derdocs\\bom\\PARTS.TXT", E::eDocTypeAll), parts);
    EXPECT_EQ(model.getAt(u"C:\\Model\\DerDocs\\NC\\P2.nc", E::eDocTypeNC), p2);
    EXPECT_EQ(model.getAt(u"A1.dwg", E::eDocTypeBom), nullptr);
    EXPECT_EQ(model.getAt(u"\\Details\\A1.dwg", E::eDocTypeAll), nullptr);
}

TEST(TevDerivedDocumentsModel, RefilesARenamedDocumentAndTakesItsRowsOut) {
    FakeHost host;
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevArray<TevDocManObject> table;
    table.append(rowFor(firstObject(doc)));
    table.append(rowFor(nullptr));
    host.model().setDocManObjects(&table);

    const TevDerivedDocKey oldKey = doc->getKey();
    host.log.clear();
    host.model().derivedDocFileNameChanged(detailKeyWith(oldKey, u"A9.dwg"), u"x", u"y");
    EXPECT_TRUE(hostCalls(host).empty()) << "an unregistered key changes nothing";

    host.model().derivedDocFileNameChanged(oldKey, u"D:\\Other\\B2.dwg", u"other");
    EXPECT_EQ(doc->getFileName(), TevString(u"B2.dwg"));
    EXPECT_EQ(host.model().getAt(u"b2.dwg", E::eDocTypeDetail), doc);
    EXPECT_EQ(host.model().getDerivedDocs().find(oldKey), nullptr);
    EXPECT_NE(host.model().getDerivedDocs().find(doc->getKey()), nullptr);
    ASSERT_EQ(table.length(), 1);
    EXPECT_EQ(table[0].m_derivedObject, nullptr);
    host.model().setDocManObjects(nullptr);
}

TEST(TevDerivedDocumentsModel, DisposesOfARenamedDocumentWhoseNewKeyIsTaken) {
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* a2 = host.addDetail(7, "..\\Details\\A2.dwg");
    TevArray<TevDocManObject> table;
    table.append(rowFor(firstObject(a1)));
    host.model().setDocManObjects(&table);
    host.log.clear();

    host.model().derivedDocFileNameChanged(a1->getKey(), u"..\\Details\\A2.dwg", u"");
    EXPECT_EQ(hostCalls(host), (Calls{"disposeDocument(A2.dwg)", "disposeObject(H7)"}))
        << "the renamed document goes back to the factory; nothing is lost";
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(registered(host), std::vector<TevDerivedDocument*>{a2});
    host.model().setDocManObjects(nullptr);
}

TEST(TevDerivedDocumentsModel, SwitchesCachesThroughTheHostsOverride) {
    FakeHost host;
    FakeModelAccess& model = host.model();
    EXPECT_FALSE(model.isCacheOn());
    model.enableCache();
    EXPECT_EQ(hostCalls(host), Calls{"disableAndDeleteCache"});
    EXPECT_TRUE(model.isCacheOn());
    model.disableAndDeleteCache();
    EXPECT_FALSE(model.isCacheOn());

    model.resetDetailsCache();
    EXPECT_EQ(model.m_detailsCacheTable1.bucketCount(), 53);
    EXPECT_TRUE(model.m_detailsCacheList.isEmpty());

    for (int index = 0; index < 60; ++index) {
        TevString name;
        name.format(u"D%d", index);
        model.m_detailsCacheTable1.insert(name, TevArray<std::int64_t>());
        model.m_detailsCacheTable3.insert(name, TevArray<std::int64_t>());
    }
    model.m_detailsCacheList.append(42);
    model.m_detailsCacheValid = true;
    model.resetDetailsCache();
    EXPECT_EQ(model.m_detailsCacheTable1.size() + model.m_detailsCacheTable3.size(), 0);
    EXPECT_EQ(model.m_detailsCacheTable1.bucketCount(), 97) << "the bucket count stays";
    EXPECT_TRUE(model.m_detailsCacheList.isEmpty());
    EXPECT_EQ(model.m_detailsCacheList.physicalLength(), 8) << "the list keeps its storage";
    EXPECT_FALSE(model.m_detailsCacheValid);
}

TEST(TevDerivedDocumentsModel, ResetsTheDocumentsOfOneKindOrAll) {
    ScopedAssertionRecorder recorder;
    FakeHost host;
    FakeModelAccess& model = host.model();
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
    host.addNC("NC\\P2.nc", E::eDocSubTypeDstv, "", true);
    for (int type = 0; type < 3; ++type) {
        model.m_derDocsCachedA[type] = model.m_derDocsCachedB[type] = true;
    }
    model.m_detailsCacheValid = true;

    model.resetDerivedDocs(E::eDocTypeNC);
    EXPECT_EQ(host.factory.disposedDocuments(), 2);
    EXPECT_EQ(registered(host).size(), 2U);
    EXPECT_FALSE(model.m_derDocsCachedA[E::eDocTypeNC] || model.m_derDocsCachedB[E::eDocTypeNC]);
    EXPECT_TRUE(model.m_derDocsCachedA[E::eDocTypeBom] &&
                model.m_derDocsCachedB[E::eDocTypeDetail]);
    EXPECT_TRUE(model.m_detailsCacheValid) << "only a reset of all empties the details cache";

    model.resetDerivedDocs(static_cast<E::eDocType>(7));
    EXPECT_EQ(recorder.take(), std::vector<std::string>{"false"});
    EXPECT_EQ(registered(host).size(), 2U);

    model.resetDerivedDocs(E::eDocTypeAll);
    EXPECT_TRUE(registered(host).empty());
    EXPECT_EQ(host.factory.liveDocuments() + host.factory.liveObjects(), 0U);
    EXPECT_FALSE(model.m_derDocsCachedA[E::eDocTypeBom] ||
                 model.m_derDocsCachedB[E::eDocTypeDetail]);
    EXPECT_FALSE(model.m_detailsCacheValid);
    EXPECT_EQ(model.getAt(7, E::eDocTypeAll), nullptr);
    (void)a1;
    (void)parts;
}

TEST(TevDerivedDocumentsModel, FormsShrinksAndDissolvesDuplicateGroups) {
    FakeHost host;
    FakeModelAccess& model = host.model();
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* a = firstObject(doc);
    TevDerivedObject* b = host.factory.makeDetailObject(doc, 8, u"H8");
    TevDerivedObject* c = host.factory.makeDetailObject(doc, 9, u"H9");
    doc->addDerivedObject(b, false);
    doc->addDerivedObject(c, false);

    TevArray<TevDerivedObject*> set;
    set.append(a);
    model.appendDuplicateObjects(set);
    EXPECT_EQ(a->getDuplicateInfo(), nullptr) << "one object is no set";
    set.append(b);
    model.appendDuplicateObjects(set);
    model.appendDuplicateObjects(set);
    ASSERT_EQ(model.getDuplicates().length(), 1) << "the same set forms one group";
    EXPECT_TRUE(a->isDuplicate() && b->isDuplicate());

    set.append(c);
    model.appendDuplicateObjects(set); // c joins the group of a as a member
    const TevDerivedObjectDuplicateInfo* group = a->getDuplicateInfo();
    EXPECT_EQ(group->getObjects().length(), 3);
    model.removeObjectFromDuplicate(b);
    EXPECT_EQ(b->getDuplicateInfo(), nullptr);
    EXPECT_TRUE(a->isDuplicate() && c->isDuplicate());
    model.removeObjectFromDuplicate(b); // in no group: nothing changes
    EXPECT_EQ(model.getDuplicates().length(), 1);

    model.derivedObjectDeleted(a);
    EXPECT_EQ(a->getDuplicateInfo(), nullptr);
    EXPECT_EQ(c->getDuplicateInfo(), nullptr) << "a group of one dissolves";
    EXPECT_TRUE(model.getDuplicates().isEmpty());

    model.appendDuplicateObjects(set); // a group left for the model's destruction
    EXPECT_EQ(model.getDuplicates().length(), 1);
}

TEST(TevDerivedDocumentsModel, MovesObjectsOfAnotherGroupIntoTheNewSet) {
    FakeHost host;
    FakeModelAccess& model = host.model();
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* objects[4] = {firstObject(doc)};
    for (int index = 1; index < 4; ++index) {
        objects[index] = host.factory.makeDetailObject(doc, 10 + index, TevString());
        doc->addDerivedObject(objects[index], false);
    }
    TevArray<TevDerivedObject*> first, second;
    first.append(objects[0]);
    first.append(objects[1]);
    second.append(objects[2]);
    second.append(objects[1]);
    second.append(objects[3]);
    model.appendDuplicateObjects(first);
    model.appendDuplicateObjects(second);

    EXPECT_EQ(objects[0]->getDuplicateInfo(), nullptr) << "its group lost its other member";
    ASSERT_EQ(model.getDuplicates().length(), 1);
    const TevDerivedObjectDuplicateInfo* group = model.getDuplicates()[0];
    EXPECT_EQ(group->getObjects().length(), 3);
    for (int index = 1; index < 4; ++index) {
        EXPECT_EQ(objects[index]->getDuplicateInfo(), group);
    }
    doc->deleteDerivedObject(objects[3]);
    EXPECT_EQ(group->getObjects().length(), 2) << "a destroyed object leaves its group";
}

TEST(TevDerivedDocumentsModel, ErasesRowsAtOnceOrMarksThemWhileTheManagerIsOpen) {
    FakeHost host;
    FakeModelAccess& model = host.model();
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* objects[3] = {firstObject(doc)};
    for (int index = 1; index < 3; ++index) {
        objects[index] = host.factory.makeDetailObject(doc, 10 + index, TevString());
        doc->addDerivedObject(objects[index], false);
    }
    TevArray<TevDocManObject> table;
    for (TevDerivedObject* obj : {objects[0], objects[1], objects[1], objects[2], objects[0]}) {
        table.append(rowFor(obj));
    }
    EXPECT_EQ(model.setDocManObjects(&table), 1);
    EXPECT_EQ(model.getDocManObjects(), &table);

    model.setDocumentsManagerOpen(true);
    doc->deleteDerivedObject(objects[1]);
    ASSERT_EQ(table.length(), 5) << "marked, not erased, while the manager is open";
    EXPECT_TRUE(table[1].m_removed && table[2].m_removed);
    EXPECT_FALSE(table[0].m_removed || table[3].m_removed);
    table[4].m_removed = true; // marked by the host itself

    model.setDocumentsManagerOpen(false);
    ASSERT_EQ(table.length(), 2) << "adjacent marked rows are both erased";
    EXPECT_EQ(table[0].m_derivedObject, objects[0]);
    EXPECT_EQ(table[1].m_derivedObject, objects[2]);
    model.setDocumentsManagerOpen(false);
    EXPECT_EQ(table.length(), 2);

    doc->deleteDerivedObject(0);
    ASSERT_EQ(table.length(), 1) << "erased at once while the manager is closed";
    EXPECT_EQ(table[0].m_derivedObject, objects[2]);
    EXPECT_EQ(model.setDocManObjects(nullptr), 0);
    EXPECT_EQ(model.getDocManObjects(), nullptr);
}

TEST(TevDerivedDocumentsModel, DestructionDisposesOfEveryDocumentAndGroup) {
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    TevArray<TevDerivedObject*> set;
    set.append(firstObject(a1));
    set.append(firstObject(a2));
    host.model().appendDuplicateObjects(set);
    host.log.clear();

    host.destroyModel();
    EXPECT_EQ(host.factory.liveDocuments() + host.factory.liveObjects(), 0U);
    EXPECT_EQ(host.log.only("dispose").size(), 6U);
}

} // namespace
