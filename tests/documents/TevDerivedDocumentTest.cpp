#include "TevDerivedDocument.h"

#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TempFolder.h"
#include "TevDerivedDocumentInfo.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using E = TevDerDocEnums;
using lumtest::FakeBomDocument;
using lumtest::FakeDetailDocument;
using lumtest::FakeHost;
using lumtest::FakeNCDocument;
using lumtest::ScopedAssertionRecorder;
using lumtest::TempFolder;
using Texts = std::vector<std::string>;

Texts labels(const TevArray<TevDerivedObject*>& objects) {
    Texts out;
    for (const TevDerivedObject* obj : objects) {
        out.push_back(lumtest::nameOf(obj));
    }
    return out;
}

// The calls into the host, without the command-active queries that objects make when
// they are made or updated, and without those starting with `ignored`.
Texts calls(const FakeHost& host, const char* ignored = "isCommandActive") {
    return host.log.calls({"isCommandActive", ignored});
}

// The detail A1.dwg with its one object H11, and a clean log.
FakeDetailDocument* detailA1(FakeHost& host) {
    FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    host.log.clear();
    return doc;
}

// The report 5 in ..\BOM\Parts.txt with its one object, and a clean log.
FakeBomDocument* partsBom(FakeHost& host) {
    FakeBomDocument* doc = host.addBom(5, "..\\BOM\\Parts.txt");
    host.log.clear();
    return doc;
}

TevDerivedObject* addObject(FakeHost& host, TevDerivedDocument* doc, std::int64_t id,
                            const char16_t* handle, bool updOnly = false) {
    TevDerivedObject* obj = host.factory.makeDetailObject(doc, id, handle);
    if (updOnly) {
        obj->setUpdOnlyObject();
    }
    EXPECT_TRUE(doc->addDerivedObject(obj, false));
    return obj;
}

void disposeRefused(FakeHost& host, TevDerivedObject* obj) {
    host.factory.disposeObject(obj, &host.model());
}

TevString dwgNoOf(const TevDerivedDocumentInfo* info) {
    TevString dwgNo, prefix;
    info->getDwgNo(dwgNo, prefix);
    return dwgNo;
}

TEST(TevDerivedDocument, AddDerivedObjectRefusesAListedObjectOnlyWhenChecking) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    TevDerivedObject* sameHandle = host.factory.makeDetailObject(doc, 12, u"H11", "other");
    EXPECT_FALSE(doc->addDerivedObject(sameHandle, true)) << "same handle, other id";
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11"}));
    disposeRefused(host, sameHandle);

    TevDerivedObject* again = host.factory.makeDetailObject(doc, 12, u"H11", "again");
    EXPECT_TRUE(doc->addDerivedObject(again, false));
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "again"}));
    EXPECT_EQ(calls(host), (Texts{"disposeObject(other)"})) << "adding tells nobody";

    // Objects without handle are told apart by id.
    EXPECT_TRUE(doc->addDerivedObject(host.factory.makeDetailObject(doc, 21, u""), true));
    EXPECT_TRUE(doc->addDerivedObject(host.factory.makeDetailObject(doc, 22, u""), true));
    TevDerivedObject* twin = host.factory.makeDetailObject(doc, 21, u"", "twin");
    EXPECT_FALSE(doc->addDerivedObject(twin, true));
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "again", "detail21", "detail22"}));
    disposeRefused(host, twin);
}

TEST(TevDerivedDocument, GetIndexOfFindsTheFirstExactHandle) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 12, u"H12");
    addObject(host, doc, 13, u"H12", false);
    int index = 42;
    EXPECT_EQ(doc->getIndexOf(u"H12", index), 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(doc->getIndexOf(u"H11", index), 1);
    EXPECT_EQ(index, 0);
    index = 42;
    EXPECT_EQ(doc->getIndexOf(u"h12", index), 0) << "handles compare case-sensitively";
    EXPECT_EQ(doc->getIndexOf(u"", index), 0);
    EXPECT_EQ(index, 42);
}

TEST(TevDerivedDocument, DeleteDerivedObjectByIndexDisposesOfTheObject) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 12, u"H12");
    addObject(host, doc, 13, u"H13");
    {
        ScopedAssertionRecorder recorder;
        EXPECT_EQ(doc->deleteDerivedObject(3), 0);
        EXPECT_EQ(doc->deleteDerivedObject(-1), 0);
        const std::string range = "index >= 0 && index < m_derivedObjects.length()";
        EXPECT_EQ(recorder.texts(), (Texts{range, range}));
    }
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "H12", "H13"}));
    EXPECT_TRUE(calls(host).empty());

    EXPECT_EQ(doc->deleteDerivedObject(1), 1);
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "H13"}));
    EXPECT_EQ(calls(host), (Texts{"disposeObject(H12)"}));
}

TEST(TevDerivedDocument, DeleteDerivedObjectByPointerDisposesOfItEvenWhenNotListed) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    TevDerivedObject* listed = addObject(host, doc, 12, u"H12");
    addObject(host, doc, 13, u"H13");
    TevDerivedObject* stranger = host.factory.makeDetailObject(doc, 12, u"H12", "stranger");
    EXPECT_EQ(doc->deleteDerivedObject(stranger), 0) << "same handle, other pointer";
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "H12", "H13"}));
    EXPECT_EQ(doc->deleteDerivedObject(listed), 1);
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "H13"}));
    EXPECT_EQ(calls(host), (Texts{"disposeObject(stranger)", "disposeObject(H12)"}));
}

TEST(TevDerivedDocument, ResetDisposesOfTheObjectsInOrderAndKeepsFileCheckAndKey) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 12, u"H12");
    addObject(host, doc, 13, u"H13");
    doc->setHasUpdReq(true);
    ASSERT_NE(doc->getInfo(), nullptr);
    doc->setModificationState(E::eModificationObsolete);
    doc->setClosedWithoutSave(3);
    doc->setHasDerObjWithNoUpd(true);
    doc->setCheckDocFile(false);
    host.log.clear();

    doc->reset();
    EXPECT_EQ(calls(host),
              (Texts{"disposeObject(H11)", "disposeObject(H12)", "disposeObject(H13)"}));
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_EQ(doc->getModificationState(), E::eModificationNone);
    EXPECT_EQ(doc->getClosedWithoutSave(), 0);
    EXPECT_EQ(doc->cachedInfo(), nullptr);
    EXPECT_FALSE(doc->hasUpdReq());
    EXPECT_TRUE(doc->getHasDerObjWithNoUpd());
    EXPECT_FALSE(doc->getCheckDocFile());
    EXPECT_EQ(doc->getKey().m_id, 11);
    EXPECT_EQ(doc->getFileName(), TevString(u"A1.dwg"));
}

TEST(TevDerivedDocument, ResetWithoutFactoryReportsItAndStillEmptiesTheList) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    TevDerivedObject* first = doc->objects()[0];
    TevDerivedObject* second = addObject(host, doc, 12, u"H12");
    TevDerivedDocumentsModel::setFactory(nullptr);
    {
        ScopedAssertionRecorder recorder;
        doc->reset();
        EXPECT_EQ(recorder.texts(), (Texts{"pFact"}));
    }
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_TRUE(calls(host).empty()) << "no factory, so nobody disposes of the objects";
    EXPECT_TRUE(host.factory.isLive(first));
    EXPECT_TRUE(host.factory.isLive(second));
    disposeRefused(host, first);
    disposeRefused(host, second);
}

TEST(TevDerivedDocument, SetHasUpdReqLetsTheKindAddUpdateOnlyObjectsAndRemovesThemAll) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    host.model().addUpdOnly = [&host](TevDerivedDocument* target) {
        addObject(host, target, 50, u"U50", true);
        addObject(host, target, 51, u"U51", true);
        addObject(host, target, 12, u"H12");
        addObject(host, target, 52, u"U52", true);
    };
    doc->setHasUpdReq(true);
    EXPECT_TRUE(doc->hasUpdReq());
    EXPECT_EQ(calls(host), (Texts{"model.addUpdOnlyDerivedObjects(A1.dwg,00)"}));
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "U50", "U51", "H12", "U52"}));
    const TevDerivedDocumentInfo* info = doc->getInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(dwgNoOf(info), TevString(u"new"));
    host.log.clear();
    doc->setHasUpdReq(true);
    EXPECT_EQ(doc->cachedInfo(), info) << "the same value changes nothing";
    EXPECT_TRUE(calls(host).empty());
    EXPECT_EQ(doc->objects().length(), 5);

    doc->setHasUpdReq(false);
    EXPECT_FALSE(doc->hasUpdReq());
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "H12"}));
    EXPECT_EQ(calls(host),
              (Texts{"disposeObject(U50)", "disposeObject(U51)", "disposeObject(U52)"}));
    EXPECT_EQ(doc->cachedInfo(), nullptr);
}

TEST(TevDerivedDocument, SetModificationStateAnnouncesTheObsoleteStateEveryTime) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    doc->setModificationState(static_cast<E::ModificationState>(2));
    EXPECT_EQ(doc->getModificationState(), 2);
    doc->setModificationState(E::eModificationNone);
    EXPECT_TRUE(calls(host).empty());
    doc->setModificationState(E::eModificationObsolete);
    doc->setModificationState(E::eModificationObsolete);
    EXPECT_EQ(doc->getModificationState(), E::eModificationObsolete);
    EXPECT_EQ(calls(host), (Texts{"derivedDocModified(1)", "derivedDocModified(1)"}));
}

TEST(TevDerivedDocument, GetGuiStatusMapsStatusesForDisplay) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    const std::vector<std::pair<int, int>> cases = {
        {1002, -4}, {1008, -3},   {1001, -2}, {6, -1}, {9, 3},  {1005, -5},
        {2001, -5}, {1000, 1000}, {0, 0},     {3, 3},  {-7, -7}};
    for (const auto& [status, shown] : cases) {
        EXPECT_EQ(doc->getGuiStatus(static_cast<E::ErrorStatus>(status)), shown) << status;
    }
}

TEST(TevDerivedDocument, IsCommandActivePassesTheFullFileName) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    host.model().commandActive = 7;
    EXPECT_EQ(doc->isCommandActive(), 7);
    EXPECT_EQ(host.log.calls(), (Texts{"isCommandActive(C:\\Model\\DerDocs\\Details\\A1.dwg)"}));
}

TEST(TevDerivedDocument, GetUpdateAllDerObjsOfARefusedDocumentOnlyMarksTheObjects) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 12, u"H12", true);
    for (TevDerivedObject* obj : doc->objects()) {
        obj->setStatus(E::eStatusOk);
    }
    doc->script.checkDocumentStatus = false;
    host.log.clear();
    doc->getUpdateAllDerObjs(false);
    for (TevDerivedObject* obj : doc->objects()) {
        EXPECT_EQ(obj->getUpdateFast(), E::eStatusUndetermined) << lumtest::nameOf(obj);
    }
    EXPECT_TRUE(host.log.calls().empty());
    EXPECT_EQ(doc->cachedInfo(), nullptr);
}

TEST(TevDerivedDocument, GetUpdateAllDerObjsUpdatesInOrderThenFillsAndNotifies) {
    TempFolder folder;
    folder.createFile("Details/A1.dwg");
    FakeHost host(folder.appPath());
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 50, u"U50", true);
    addObject(host, doc, 12, u"H12");
    for (TevDerivedObject* obj : doc->objects()) {
        obj->setHasUpdReq(true);
    }
    host.model().newUpdate = E::eStatusRecheck;

    doc->getUpdateAllDerObjs(false);
    EXPECT_EQ(calls(host),
              (Texts{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)",
                     "getNewUpdate(H11,0)", "getNewUpdate(U50,0)", "getNewUpdate(H12,0)",
                     "endGetUpdateAllDerObjs(A1.dwg)", "checkDerivedObjects(A1.dwg,11)",
                     "beginGetUpdateAllDerObjs(A1.dwg)", "fillOldInfo(A1.dwg)", "fillNewInfo(H11)",
                     "fillNewInfo(U50)", "fillNewInfo(H12)", "endGetUpdateAllDerObjs(A1.dwg)",
                     "derivedDocRefreshed(A1.dwg)"}));
    for (TevDerivedObject* obj : doc->objects()) {
        EXPECT_EQ(obj->getUpdateFast(), E::eStatusRecheck) << lumtest::nameOf(obj);
    }

    host.log.clear();
    host.model().newUpdate = E::eStatusError1002;
    doc->getUpdateAllDerObjs(true);
    EXPECT_EQ(calls(host),
              (Texts{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)",
                     "getNewUpdate(U50,0)", "endGetUpdateAllDerObjs(A1.dwg)",
                     "checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)",
                     "endGetUpdateAllDerObjs(A1.dwg)", "derivedDocRefreshed(A1.dwg)"}));
    EXPECT_EQ(doc->objects()[0]->getUpdateFast(), E::eStatusRecheck);
    EXPECT_EQ(doc->objects()[1]->getUpdateFast(), E::eStatusError1002);
}

TEST(TevDerivedDocument, GetDerivedObjectsFiltersByTypeAndSkipsNullEntries) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    TevDerivedObject* bom = host.factory.createBomObject(doc, u"B1");
    ASSERT_TRUE(doc->addDerivedObject(bom, false));
    ASSERT_TRUE(doc->addDerivedObject(nullptr, false));
    addObject(host, doc, 12, u"H12");

    TevArray<TevDerivedObject*> out;
    out.append(bom);
    {
        ScopedAssertionRecorder recorder;
        doc->getDerivedObjects(out, E::eDocTypeDetail);
        EXPECT_EQ(recorder.texts(), (Texts{"pObj"}));
    }
    EXPECT_EQ(labels(out), (Texts{"H11", "H12"}));
    {
        ScopedAssertionRecorder recorder;
        doc->getDerivedObjects(out, E::eDocTypeBom);
        EXPECT_EQ(labels(out), (Texts{"A1.dwg:bom"}));
        doc->getDerivedObjects(out, E::eDocTypeNC);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(recorder.texts(), (Texts{"pObj", "pObj"}));
    }
    doc->getDerivedObjects(out, E::eDocTypeAll);
    EXPECT_EQ(labels(out), (Texts{"H11", "A1.dwg:bom", "null", "H12"}));
}

TEST(TevDerivedDocument, FullFileNamesJoinFolderRelativePathAndFileName) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    EXPECT_EQ(doc->getFileName(), TevString(u"A1.dwg"));
    EXPECT_EQ(doc->getFullFileName(), TevString(u"C:\\Model\\DerDocs\\Details\\A1.dwg"));
    EXPECT_EQ(doc->getFullUpdFileName(), TevString(u"C:\\Model\\DerDocs\\Details\\A1.upd"));

    FakeNCDocument* bare = host.addNC("NC\\P1", E::eDocSubTypeNCNamed, "n1", false);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->getFullUpdFileName(), TevString(u"C:\\Model\\DerDocs\\NC\\P1.upd"));

    FakeBomDocument* empty = host.addBom(3, "..\\BOM\\");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->getFileName().isEmpty());
    EXPECT_TRUE(empty->getFullFileName().isEmpty()) << "even with a relative path";
    EXPECT_EQ(empty->getFullUpdFileName(), TevString(u".upd"));
}

TEST(TevDerivedDocument, FileNameChangedTakesTheNewNameKeepsTheFolderAndDropsTheInfo) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    ASSERT_NE(doc->getInfo(), nullptr);
    doc->fileNameChanged(u"D:\\Other\\B2.dwg", u"C:\\Elsewhere\\C3.dwg");
    EXPECT_EQ(doc->getFileName(), TevString(u"B2.dwg"));
    EXPECT_EQ(doc->getKey().m_relPath, TevString(u"\\Details\\"));
    EXPECT_EQ(doc->getFullFileName(), TevString(u"C:\\Model\\DerDocs\\Details\\B2.dwg"));
    EXPECT_EQ(doc->cachedInfo(), nullptr);
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11"}));
}

TEST(TevDerivedDocument, FollowsItsFileOnDisk) {
    TempFolder folder;
    folder.createFile("Details/A1.dwg");
    FakeHost host(folder.appPath());
    FakeDetailDocument* doc = detailA1(host);
    EXPECT_TRUE(doc->hasDocFile());
    EXPECT_FALSE(doc->removeIfFileNotExists());
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11"}));
    EXPECT_TRUE(calls(host).empty());

    std::filesystem::rename(folder.path() / "Details" / "A1.dwg",
                            folder.path() / "Details" / "B1.dwg");
    EXPECT_FALSE(doc->hasDocFile());
    doc->fileNameChanged(folder.appPath("Details/B1.dwg"), u"");
    EXPECT_TRUE(doc->hasDocFile());

    std::filesystem::remove(folder.path() / "Details" / "B1.dwg");
    doc->setModificationState(static_cast<E::ModificationState>(2));
    EXPECT_TRUE(doc->removeIfFileNotExists());
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_EQ(doc->getModificationState(), E::eModificationNone);
    EXPECT_EQ(calls(host), (Texts{"disposeObject(H11)"})) << "a detail withdraws nothing";
}

TEST(TevDerivedDocument, GetInfoIsFilledByTheDocumentOrByTheModel) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    const TevDerivedDocumentInfo* info = doc->getInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(dwgNoOf(info), TevString(u"old"));
    EXPECT_EQ(calls(host),
              (Texts{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)",
                     "fillOldInfo(A1.dwg)", "fillOldInfo(H11)", "derivedDocRefreshed(A1.dwg)",
                     "endGetUpdateAllDerObjs(A1.dwg)"}));
    host.log.clear();
    doc->fillInfo();
    EXPECT_EQ(doc->getInfo(), info);
    EXPECT_TRUE(calls(host).empty()) << "an existing cache is kept";

    doc->setHasUpdReq(true); // drops the cache
    host.log.clear();
    ASSERT_NE(doc->getInfo(), nullptr);
    EXPECT_EQ(dwgNoOf(doc->getInfo()), TevString(u"new"));
    EXPECT_EQ(host.log.only("fill"), (Texts{"fillNewInfo(doc A1.dwg)"}));
}

TEST(TevDerivedDocument, FillInfoAllDerObjsRunsTheHooksAndNotifiesOnlyWhenAsked) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    doc->fillInfoAllDerObjs(false);
    EXPECT_EQ(calls(host),
              (Texts{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)",
                     "fillOldInfo(A1.dwg)", "fillOldInfo(H11)", "endGetUpdateAllDerObjs(A1.dwg)"}));
    host.log.clear();
    doc->fillInfoAllDerObjs(true);
    EXPECT_EQ(calls(host),
              (Texts{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)",
                     "derivedDocRefreshed(A1.dwg)", "endGetUpdateAllDerObjs(A1.dwg)"}));
}

TEST(TevDerivedDocument, RefreshInfoBuildsAMissingCacheElseRefreshesFromItsSource) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    doc->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(host.log.only("fillOldInfo(A1.dwg)").size(), 1U);
    EXPECT_TRUE(host.log.only("refreshOldInfo").empty());
    ASSERT_NE(doc->cachedInfo(), nullptr);

    host.log.clear();
    doc->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(calls(host), (Texts{"refreshOldInfo(A1.dwg,2)"}));
    EXPECT_EQ(dwgNoOf(doc->cachedInfo()), TevString(u"refreshed"));

    doc->setHasUpdReq(true);
    doc->fillInfo();
    host.log.clear();
    doc->refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(calls(host), (Texts{"derivedDocRefreshed(A1.dwg)", "refreshNewInfo(doc A1.dwg,1)",
                                  "derivedDocRefreshed(A1.dwg)"}));
}

TEST(TevDerivedDocument, GetLastRevIdxBuildsTheCacheFirst) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    EXPECT_TRUE(doc->getLastRevIdx().isEmpty());
    EXPECT_EQ(host.log.only("checkDerivedObjects").size(), 1U);
    EXPECT_EQ(host.log.only("derivedDocRefreshed").size(), 1U);
    ASSERT_NE(doc->cachedInfo(), nullptr);
    const_cast<TevDerivedDocumentInfo*>(doc->cachedInfo())->setLastRevIdx(u"C");
    host.log.clear();
    EXPECT_EQ(doc->getLastRevIdx(), TevString(u"C"));
    EXPECT_TRUE(calls(host).empty());
}

TEST(TevDerivedDocumentBom, TakesItsKeyFromTheReport) {
    FakeHost host;
    FakeBomDocument* doc = host.addBom(5, "..\\BOM\\Parts.txt");
    ASSERT_NE(doc, nullptr);
    const TevDerivedDocKey key = doc->getKey();
    EXPECT_EQ(key.m_type, E::eDocTypeBom);
    EXPECT_EQ(key.m_subType, E::eDocSubTypeNone);
    EXPECT_EQ(key.m_id, 5);
    EXPECT_EQ(key.m_relPath, TevString(u"\\BOM\\"));
    EXPECT_EQ(key.m_fileName, TevString(u"Parts.txt"));
    EXPECT_TRUE(key.m_ncName.isEmpty());
    EXPECT_EQ(doc->getReport().m_filePath, TevString(u"..\\BOM\\Parts.txt"));

    host.reportManager.dstvReports.insert(7);
    FakeBomDocument* dstv = host.addBom(7, "Lists\\D7.txt");
    ASSERT_NE(dstv, nullptr);
    EXPECT_EQ(dstv->getKey().m_subType, E::eDocSubTypeDstv);
    EXPECT_EQ(dstv->getKey().m_relPath, TevString(u"\\DSTV\\"));
    EXPECT_EQ(dstv->getFileName(), TevString(u"D7.txt"));

    TevString relPath = u"stale", fileName = u"stale";
    TevDerivedDocumentBom::getRelPathAndFileNameFromPath(false, u"Lists\\P.txt", relPath, fileName);
    EXPECT_EQ(relPath, TevString(u"\\BOM\\"));
    EXPECT_EQ(fileName, TevString(u"P.txt"));
}

TEST(TevDerivedDocumentBom, KeepsANegativeReportNumberAndWritesItBack) {
    FakeHost host;
    FakeBomDocument* doc = host.addBom(-1, "..\\BOM\\Neg.txt");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->getKey().m_id, -1);
    host.log.clear();
    EXPECT_EQ(doc->deregistFromModel(), 1);
    host.reportManager.withdrawResult = 0;
    EXPECT_EQ(doc->deregistFromModel(), 0);
    EXPECT_EQ(host.log.only("withdrawReport"), (Texts{"withdrawReport(-1,..\\BOM\\Neg.txt)",
                                                      "withdrawReport(-1,..\\BOM\\Neg.txt)"}));
}

TEST(TevDerivedDocumentBom, CreatesItsObjectOnce) {
    FakeHost host;
    FakeBomDocument* doc = host.addBom(5, "..\\BOM\\Parts.txt");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(host.log.only("createBomObject"), (Texts{"createBomObject(Parts.txt,)"}));
    EXPECT_EQ(doc->objects()[0]->getUpdateFast(), E::eStatusUndetermined);
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, true), 1);
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), (Texts{"checkDerivedObjects(Parts.txt,11)"}));
    EXPECT_EQ(labels(doc->objects()), (Texts{"Parts.txt:bom"}));

    FakeBomDocument* reset = host.addBom(6, "..\\BOM\\Reset.txt", false, false, true);
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->objects()[0]->getUpdateFast(), E::eStatusOk);
}

TEST(TevDerivedDocumentBom, MissingFileWithFileCheckMakesTheDocumentObsolete) {
    FakeHost host; // its folder does not exist
    FakeBomDocument* doc = partsBom(host);
    ASSERT_NE(doc, nullptr) << "without the file check a missing file is no obstacle";
    EXPECT_EQ(labels(doc->objects()), (Texts{"Parts.txt:bom"}));

    EXPECT_EQ(doc->addAllDerivedObjects(true, true, true, false), 0);
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_EQ(doc->getModificationState(), E::eModificationNone);
    EXPECT_EQ(calls(host, "addAllDerivedObjects"),
              (Texts{"derivedDocModified(1)", "deregistFromModel(Parts.txt)", "getReportManager",
                     "withdrawReport(5,..\\BOM\\Parts.txt)", "disposeObject(Parts.txt:bom)"}));
}

TEST(TevDerivedDocumentBom, FactoryWithoutObjectLeavesTheDocumentEmpty) {
    FakeHost host;
    FakeBomDocument* doc = partsBom(host);
    ASSERT_NE(doc, nullptr);
    doc->reset();
    host.factory.nullObjects = true;
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, true), 0);
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_EQ(calls(host, "addAllDerivedObjects"),
              (Texts{"createBomObject(Parts.txt,)", "checkDerivedObjects(Parts.txt,11)"}));
}

TEST(TevDerivedDocumentBom, WithoutReportManagerDeregistAnswersZeroAndObsoleteGoesOn) {
    FakeHost host;
    FakeBomDocument* doc = partsBom(host);
    ASSERT_NE(doc, nullptr);
    host.model().reportManager = nullptr;
    EXPECT_EQ(doc->deregistFromModel(), 0);
    doc->setObsolete();
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_TRUE(host.log.only("withdrawReport").empty());
    EXPECT_EQ(host.log.only("derivedDocModified"), (Texts{"derivedDocModified(1)"}));
}

TEST(TevDerivedDocumentBom, RemoveIfFileNotExistsWithdrawsTheReport) {
    TempFolder folder;
    folder.createFile("BOM/Parts.txt");
    FakeHost host(folder.appPath());
    FakeBomDocument* doc = host.addBom(5, "..\\BOM\\Parts.txt", false, true);
    ASSERT_NE(doc, nullptr);
    host.log.clear();
    EXPECT_FALSE(doc->removeIfFileNotExists());
    EXPECT_EQ(labels(doc->objects()), (Texts{"Parts.txt:bom"}));

    std::filesystem::remove(folder.path() / "BOM" / "Parts.txt");
    EXPECT_TRUE(doc->removeIfFileNotExists());
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_EQ(calls(host),
              (Texts{"derivedDocModified(1)", "deregistFromModel(Parts.txt)", "getReportManager",
                     "withdrawReport(5,..\\BOM\\Parts.txt)", "disposeObject(Parts.txt:bom)"}));
}

TEST(TevDerivedDocumentDetail, SplitsItsCreationPath) {
    struct Case {
        const char16_t* path;
        const char16_t* relPath;
        const char16_t* fileName;
    };
    const Case cases[] = {{u"..\\Details\\A1.dwg", u"\\Details\\", u"A1.dwg"},
                          {u"..\\Sheets\\Sub\\A1", u"\\Sheets\\Sub\\", u"A1.dwg"},
                          {u"..\\Details\\A1.DWG", u"\\Details\\", u"A1.DWG"},
                          {u"..\\Details\\A1.tmp", u"\\Details\\", u"A1.tmp.dwg"},
                          {u"C:\\x..y\\A1.dwg", u"..y\\", u"A1.dwg"}};
    ScopedAssertionRecorder recorder;
    for (const Case& c : cases) {
        TevString relPath, fileName;
        TevDerivedDocumentDetail::getRelPathAndFileNameFromPath(c.path, relPath, fileName);
        EXPECT_EQ(relPath, TevString(c.relPath)) << TevString(c.path).toUtf8();
        EXPECT_EQ(fileName, TevString(c.fileName)) << TevString(c.path).toUtf8();
    }
    EXPECT_TRUE(recorder.texts().empty());

    // Without "..", the folder falls back to \Details\ after an assertion.
    TevString relPath = u"stale", fileName = u"stale";
    TevDerivedDocumentDetail::getRelPathAndFileNameFromPath(u"Sheets\\A1.dwg", relPath, fileName);
    EXPECT_EQ(relPath, TevString(u"\\Details\\"));
    EXPECT_EQ(fileName, TevString(u"A1.dwg"));
    EXPECT_EQ(recorder.texts(), (Texts{"0"}));
}

TEST(TevDerivedDocumentDetail, KeyAndAccessors) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    const TevDerivedDocKey key = doc->getKey();
    EXPECT_EQ(key.m_type, E::eDocTypeDetail);
    EXPECT_EQ(key.m_subType, E::eDocSubTypeNone);
    EXPECT_EQ(key.m_id, 11);
    EXPECT_TRUE(doc->getModelExtractFileName().isEmpty());
    doc->setModelExtractFileName(u"ME11.dwg");
    EXPECT_EQ(doc->getModelExtractFileName(), TevString(u"ME11.dwg"));
    EXPECT_EQ(doc->getEnableUpdateBOM(), 0);
    doc->setEnableUpdateBOM(1);
    EXPECT_EQ(doc->getEnableUpdateBOM(), 1);
    EXPECT_TRUE(doc->getCheckDocFile()) << "a new document still has to check its file";
}

TEST(TevDerivedDocumentDetail, DrawingNumberAndPrototypeNameUseTheCacheBuiltOnDemand) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    TevString dwgNo = u"before", prefix = u"before";
    doc->getDwgNo(dwgNo, prefix);
    EXPECT_EQ(dwgNo, TevString(u"old"));
    EXPECT_TRUE(prefix.isEmpty());
    EXPECT_EQ(host.log.only("fillOldInfo(A1.dwg)").size(), 1U);

    doc->resetInfo();
    host.log.clear();
    doc->setPrototypeName(u"C:\\Proto\\Std.dwg");
    EXPECT_EQ(host.log.only("derivedDocRefreshed").size(), 1U) << "the cache is built first";
    doc->setPrototypeName(u"C:\\Proto\\Other.dwg");
    ASSERT_NE(doc->cachedInfo(), nullptr);
    EXPECT_EQ(doc->cachedInfo()->getPrototypeName(), TevString(u"Std"));
}

TEST(TevDerivedDocumentDetail, AddUpdOnlyDerivedObjectsReachesTheModelOnlyWhenUpdateIsRequired) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    doc->addUpdOnlyDerivedObjects(true, false);
    EXPECT_TRUE(calls(host).empty());
    doc->setHasUpdReq(true);
    doc->addUpdOnlyDerivedObjects(true, false);
    doc->setHasUpdReq(false);
    EXPECT_EQ(calls(host), (Texts{"model.addUpdOnlyDerivedObjects(A1.dwg,00)",
                                  "model.addUpdOnlyDerivedObjects(A1.dwg,10)"}));
}

TEST(TevDerivedDocumentNC, KeyCarriesFolderNameAndFlag) {
    FakeHost host;
    FakeNCDocument* flagged =
        host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "P1-named", true);
    FakeNCDocument* plain =
        host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "P1-named", false);
    ASSERT_NE(flagged, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_NE(flagged, plain) << "the flag makes two keys";
    const TevDerivedDocKey key = flagged->getKey();
    EXPECT_EQ(key.m_type, E::eDocTypeNC);
    EXPECT_EQ(key.m_subType, E::eDocSubTypeNCNamed);
    EXPECT_EQ(key.m_id, 0);
    EXPECT_EQ(key.m_relPath, TevString(u"\\NC\\Plates\\"));
    EXPECT_EQ(key.m_fileName, TevString(u"P1.nc"));
    EXPECT_EQ(key.m_ncName, TevString(u"P1-named"));
    EXPECT_TRUE(key.m_ncFlag);
    EXPECT_EQ(plain->getKey().m_id, 1);
    EXPECT_FALSE(plain->getKey().m_ncFlag);

    FakeNCDocument* bare = host.addNC("P2.nc", E::eDocSubTypeNCDxf, "P2", false);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->getKey().m_relPath, TevString(u"\\"));
    EXPECT_EQ(bare->getFullFileName(), TevString(u"C:\\Model\\DerDocs\\P2.nc"));
}

TEST(TevDerivedDocumentNC, InitialFilenameFallsBackToTheFileNameWithoutExtension) {
    FakeHost host;
    FakeNCDocument* doc = host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "n", false);
    ASSERT_NE(doc, nullptr);
    doc->setHasUpdReq(true);
    host.log.clear();
    EXPECT_EQ(doc->getInitialFilename(), TevString(u"P1"));
    EXPECT_EQ(host.log.only("fillNewInfo(doc P1.nc)").size(), 1U);

    const_cast<TevDerivedDocumentInfo*>(doc->getInfo())->setInitialFileName(u"C:\\Out\\First.nc");
    EXPECT_EQ(doc->getInitialFilename(), TevString(u"First.nc"));
}

TEST(TevDerivedDocumentNC, AddAllDerivedObjectsKeepsItsOneObject) {
    FakeHost host;
    FakeNCDocument* doc = host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "n", false);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(host.log.only("createNCObject"), (Texts{"createNCObject(P1.nc)"}));
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, false), 1);
    EXPECT_EQ(labels(doc->objects()), (Texts{"P1.nc:nc"}));
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), (Texts{"checkDerivedObjects(P1.nc,11)"}));

    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, true, false), 0) << "its file is missing";
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), (Texts{"disposeObject(P1.nc:nc)"}));
}

} // namespace
