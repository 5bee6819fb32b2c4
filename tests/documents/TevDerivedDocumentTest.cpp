#include "TevDerivedDocument.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TempFolder.h"
#include "TevDerivedDocumentInfo.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

// Keys print as the registry's text of them, and their NC flag.
static void PrintTo(const TevDerivedDocKey& key, std::ostream* out) {
    *out << TevHash<TevDerivedDocKey>::text(key).toUtf8() << (key.m_ncFlag ? " flagged" : "");
}

namespace {

using E = TevDerDocEnums;
using namespace lumtest;
using Key = TevDerivedDocKey;
using Texts = std::vector<std::string>;

Texts labels(const TevArray<TevDerivedObject*>& objects) {
    Texts out;
    for (const TevDerivedObject* obj : objects) {
        out.push_back(nameOf(obj));
    }
    return out;
}

// The calls into the host since the last look (the log is cleared), without the
// command-active queries that objects make when they are made or updated, and without
// those starting with `ignored`.
Texts calls(FakeHost& host, const char* ignored = "isCommandActive") {
    Texts out = host.log.calls({"isCommandActive", ignored});
    host.log.clear();
    return out;
}

// The detail A1.dwg with its one object H11, and a clean log.
FakeDetailDocument* detailA1(FakeHost& host) {
    FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
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

// What the model and the hooks see of an update or an info fill of A1.dwg.
const std::string kCheck = "checkDerivedObjects(A1.dwg,11)";
const std::string kBegin = "beginGetUpdateAllDerObjs(A1.dwg)";
const std::string kEnd = "endGetUpdateAllDerObjs(A1.dwg)";
const std::string kRefreshed = "derivedDocRefreshed(A1.dwg)";

TevString dwgNoOf(const TevDerivedDocumentInfo* info) {
    TevString dwgNo, prefix;
    info->getDwgNo(dwgNo, prefix);
    return dwgNo;
}

TEST(TevDerivedDocument, AddChecksOnlyWhenAskedDeleteAlwaysDisposesAndGetFiltersByType) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    const ScopedAssertionRecorder recorder;
    TevDerivedObject* sameHandle = host.factory.makeDetailObject(doc, 12, u"H11", "other");
    EXPECT_FALSE(doc->addDerivedObject(sameHandle, true)) << "same handle, other id";
    EXPECT_TRUE(
        doc->addDerivedObject(host.factory.makeDetailObject(doc, 12, u"H11", "again"), false));
    // Objects without handle are told apart by id.
    EXPECT_TRUE(doc->addDerivedObject(host.factory.makeDetailObject(doc, 21, u""), true));
    TevDerivedObject* last = host.factory.makeDetailObject(doc, 22, u"");
    EXPECT_TRUE(doc->addDerivedObject(last, true));
    TevDerivedObject* twin = host.factory.makeDetailObject(doc, 21, u"", "twin");
    EXPECT_FALSE(doc->addDerivedObject(twin, true));
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "again", "detail21", "detail22"}));

    int index = 42;
    EXPECT_EQ(doc->getIndexOf(u"h11", index), 0) << "handles compare case-sensitively";
    EXPECT_EQ(index, 42) << "no match leaves the index alone";
    EXPECT_EQ(doc->getIndexOf(u"H11", index), 1);
    EXPECT_EQ(index, 0) << "the first match";

    // Deleting disposes of the object, even of one that is not listed (a twin).
    EXPECT_EQ(doc->deleteDerivedObject(sameHandle), 0);
    EXPECT_EQ(doc->deleteDerivedObject(twin), 0);
    EXPECT_EQ(doc->deleteDerivedObject(4), 0);
    EXPECT_EQ(doc->deleteDerivedObject(-1), 0);
    EXPECT_EQ(doc->deleteDerivedObject(1), 1);
    EXPECT_EQ(doc->deleteDerivedObject(last), 1);
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "detail21"}));
    // Adding told nobody; deleting disposed.
    EXPECT_EQ(calls(host), (Texts{"disposeObject(other)", "disposeObject(twin)",
                                  "disposeObject(again)", "disposeObject(detail22)"}));
    const std::string range = "index >= 0 && index < m_derivedObjects.length()";
    EXPECT_EQ(recorder.texts(), (Texts{range, range}));

    // getDerivedObjects empties `out` first and reports null entries unless taking all.
    TevDerivedObject* bom = host.factory.createBomObject(doc, u"B1");
    doc->addDerivedObject(bom, false);
    doc->addDerivedObject(nullptr, false);
    const std::pair<E::eDocType, Texts> cases[] = {{E::eDocTypeDetail, {"H11", "detail21"}},
                                                   {E::eDocTypeBom, {"A1.dwg:bom"}},
                                                   {E::eDocTypeNC, {}}};
    TevArray<TevDerivedObject*> out;
    out.append(bom);
    for (const auto& [type, expected] : cases) {
        const ScopedAssertionRecorder nulls;
        doc->getDerivedObjects(out, type);
        EXPECT_EQ(labels(out), expected) << type;
        EXPECT_EQ(nulls.texts(), (Texts{"pObj"})) << type;
    }
    doc->getDerivedObjects(out, E::eDocTypeAll);
    EXPECT_EQ(labels(out), (Texts{"H11", "detail21", "A1.dwg:bom", "null"}));
}

TEST(TevDerivedDocument, ObjectTheListCannotTakeIsRefusedAndStaysTheCallers) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    for (int id = 12; id <= 18; ++id) {
        addObject(host, doc, id, u"");
    }
    ASSERT_EQ(doc->objects().length(), doc->objects().physicalLength()) << "the list is full";
    TevDerivedObject* extra = host.factory.makeDetailObject(doc, 19, u"H19");
    const ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noMemory;
        EXPECT_FALSE(doc->addDerivedObject(extra, false));
        EXPECT_FALSE(doc->addDerivedObject(extra, true));
    }
    EXPECT_EQ(recorder.texts(), (Texts(2, "pElements != NULL && numElements > 0")));
    EXPECT_EQ(doc->objects().length(), 8);
    EXPECT_EQ(labels(doc->objects()).back(), "detail18");
    EXPECT_TRUE(calls(host).empty()) << "nothing was disposed of: the object is still ours";
    EXPECT_EQ(doc->deleteDerivedObject(extra), 0) << "not listed, disposed of all the same";
    EXPECT_EQ(calls(host), Texts{"disposeObject(H19)"});
}

// A detail object whose old-object reference the test can see.
struct ProxyObject : FakeDetailObject {
    using FakeDetailObject::FakeDetailObject;
    void*& oldReference() { return m_oldObjProxy; }
};

TEST(TevDerivedDocument, ClearsOldReferencesAndForgetsObjectsTheHostDisposedOfItself) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    ProxyObject first(host.log, "first", doc, 31, u"P31");
    ProxyObject second(host.log, "second", doc, 32, u"P32");
    int old = 0;
    first.oldReference() = &old;
    second.oldReference() = &old;
    ASSERT_TRUE(doc->addDerivedObject(&first, false) && doc->addDerivedObject(&second, false));
    doc->addDerivedObject(nullptr, false);
    doc->resetOldDocRef();
    EXPECT_EQ(first.oldReference(), nullptr);
    EXPECT_EQ(second.oldReference(), nullptr);
    EXPECT_FALSE(doc->hasObject(nullptr));

    TevDerivedObject* h11 = doc->objects()[0];
    host.log.clear();
    doc->derivedObjectsDeleted();
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_TRUE(calls(host).empty()) << "the list is emptied, no object is disposed of";
    host.factory.disposeObject(h11, &host.model()); // the host's own disposal
}

TEST(TevDerivedDocument, HostServicesAnswerTheirDefaultsAndReservedOperationsDoNothing) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    TevDocumentApproval approval;
    approval.m_statusIndex = 4;
    EXPECT_EQ(doc->getDocumentApproval(approval), 0);
    EXPECT_EQ(approval.m_statusIndex, 4) << "no approval record is written";
    EXPECT_EQ(doc->setDocumentApprovalStatus(2), E::eStatusOk);
    EXPECT_EQ(doc->setDocumentApprovalComment(u"checked"), E::eStatusNotSupported);
    int prototype = 6;
    EXPECT_EQ(doc->changePrototype(prototype), E::eStatusOk);
    EXPECT_EQ(prototype, 6);
    EXPECT_EQ(doc->renameDoc(u"B1.dwg"), E::eStatusNotSupported);
    EXPECT_EQ(doc->setCheckDocumentStatus(0), E::eStatusOk);
    doc->TevDerivedDocument::reservedHostOperation1();
    doc->TevDerivedDocument::reservedHostOperation2();
    EXPECT_TRUE(calls(host).empty());
    EXPECT_EQ(doc->getKey(),
              Key(E::eDocTypeDetail, E::eDocSubTypeNone, 11, u"A1.dwg", u"\\Details\\", u""));
    EXPECT_EQ(labels(doc->objects()), Texts{"H11"});
}

TEST(TevDerivedDocument, ResetDisposesOfTheObjectsInOrderKeepsFileCheckAndKeyAndNeedsAFactory) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 12, u"H12");
    doc->setHasUpdReq(true);
    ASSERT_NE(doc->getInfo(), nullptr);
    doc->setModificationState(E::eModificationObsolete);
    doc->setClosedWithoutSave(3);
    doc->setHasDerObjWithNoUpd(true);
    doc->setCheckDocFile(false);
    host.log.clear();
    doc->reset();
    EXPECT_EQ(calls(host), (Texts{"disposeObject(H11)", "disposeObject(H12)"}));
    EXPECT_EQ(doc->getModificationState(), E::eModificationNone);
    EXPECT_EQ(doc->getClosedWithoutSave(), 0);
    EXPECT_EQ(doc->cachedInfo(), nullptr);
    EXPECT_FALSE(doc->hasUpdReq());
    EXPECT_TRUE(doc->getHasDerObjWithNoUpd());
    EXPECT_FALSE(doc->getCheckDocFile());
    EXPECT_EQ(doc->getFullFileName(), TevString(u"C:\\Model\\DerDocs\\Details\\A1.dwg"));

    // Without a factory the list is emptied all the same, and nobody disposes.
    TevDerivedObject* kept = addObject(host, doc, 21, u"H21");
    TevDerivedDocumentsModel::setFactory(nullptr);
    const ScopedAssertionRecorder recorder;
    doc->reset();
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_EQ(recorder.texts(), (Texts{"pFact"}));
    EXPECT_TRUE(doc->objects().isEmpty());
    EXPECT_TRUE(calls(host).empty());
    EXPECT_EQ(doc->deleteDerivedObject(kept), 0); // disposes of it
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
    EXPECT_EQ(calls(host), (Texts{"model.addUpdOnlyDerivedObjects(A1.dwg,00)"}));
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "U50", "U51", "H12", "U52"}));
    const TevDerivedDocumentInfo* info = doc->getInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(dwgNoOf(info), TevString(u"new"));
    host.log.clear();
    doc->setHasUpdReq(true);
    EXPECT_EQ(doc->cachedInfo(), info) << "the same value changes nothing";

    doc->setHasUpdReq(false);
    EXPECT_FALSE(doc->hasUpdReq());
    EXPECT_EQ(labels(doc->objects()), (Texts{"H11", "H12"}));
    EXPECT_EQ(calls(host),
              (Texts{"disposeObject(U50)", "disposeObject(U51)", "disposeObject(U52)"}));
    EXPECT_EQ(doc->cachedInfo(), nullptr);
}

TEST(TevDerivedDocument, AnnouncesTheObsoleteStateEveryTimeAndMapsStatusesForDisplay) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    doc->setModificationState(static_cast<E::ModificationState>(2));
    EXPECT_EQ(doc->getModificationState(), 2);
    doc->setModificationState(E::eModificationNone);
    doc->setModificationState(E::eModificationObsolete);
    doc->setModificationState(E::eModificationObsolete);
    EXPECT_EQ(calls(host), (Texts{"derivedDocModified(1)", "derivedDocModified(1)"}));

    const int cases[][2] = {{1002, -4}, {1008, -3},   {1001, -2}, {6, -1}, {9, 3},  {1005, -5},
                            {2001, -5}, {1000, 1000}, {0, 0},     {3, 3},  {-7, -7}};
    for (const auto& [status, shown] : cases) {
        EXPECT_EQ(doc->getGuiStatus(static_cast<E::ErrorStatus>(status)), shown) << status;
    }

    host.model().commandActive = 7;
    EXPECT_EQ(doc->isCommandActive(), 7);
    EXPECT_EQ(host.log.calls(), (Texts{"isCommandActive(C:\\Model\\DerDocs\\Details\\A1.dwg)"}));
}

TEST(TevDerivedDocument, GetUpdateAllDerObjsUpdatesInOrderThenFillsAndNotifiesUnlessRefused) {
    TempFolder folder;
    folder.createFile("Details/A1.dwg");
    FakeHost host(folder.appPath());
    FakeDetailDocument* doc = detailA1(host);
    addObject(host, doc, 50, u"U50", true);
    addObject(host, doc, 12, u"H12");
    for (TevDerivedObject* obj : doc->objects()) {
        obj->setHasUpdReq(true);
        obj->setStatus(E::eStatusOk);
    }
    host.model().newUpdate = E::eStatusRecheck;
    // A refused document only marks its objects: the calls below are all of the next update.
    doc->script.checkDocumentStatus = false;
    host.log.clear();
    doc->getUpdateAllDerObjs(false);
    for (TevDerivedObject* obj : doc->objects()) {
        EXPECT_EQ(obj->getUpdateFast(), E::eStatusUndetermined) << nameOf(obj);
    }

    doc->script.checkDocumentStatus = true;
    doc->getUpdateAllDerObjs(false);
    EXPECT_EQ(calls(host), (Texts{kCheck, kBegin, "getNewUpdate(H11,0)", "getNewUpdate(U50,0)",
                                  "getNewUpdate(H12,0)", kEnd, kCheck, kBegin,
                                  "fillOldInfo(A1.dwg)", "fillNewInfo(H11)", "fillNewInfo(U50)",
                                  "fillNewInfo(H12)", kEnd, kRefreshed}));
    host.model().newUpdate = E::eStatusError1002;
    doc->getUpdateAllDerObjs(true);
    EXPECT_EQ(host.log.only("getNewUpdate"), (Texts{"getNewUpdate(U50,0)"}));
    EXPECT_EQ(doc->objects()[0]->getUpdateFast(), E::eStatusRecheck);
    EXPECT_EQ(doc->objects()[1]->getUpdateFast(), E::eStatusError1002);
}

TEST(TevDerivedDocument, FullFileNamesJoinFolderRelativePathAndFileName) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    EXPECT_EQ(doc->getFullFileName(), TevString(u"C:\\Model\\DerDocs\\Details\\A1.dwg"));
    EXPECT_EQ(doc->getFullUpdFileName(), TevString(u"C:\\Model\\DerDocs\\Details\\A1.upd"));
    FakeNCDocument* bare = host.addNC("NC\\P1", E::eDocSubTypeNCNamed, "n1", false);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->getFullUpdFileName(), TevString(u"C:\\Model\\DerDocs\\NC\\P1.upd"));
    FakeBomDocument* empty = host.addBom(3, "..\\BOM\\");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->getFullFileName().isEmpty()) << "even with a relative path";
    EXPECT_EQ(empty->getFullUpdFileName(), TevString(u".upd"));
}

// The model's folder is the temporary folder's native path: on Windows with its drive
// letter and backslashes, so the document's file goes to the file system as Windows
// writes it; elsewhere the same path with backslashes for slashes.
TEST(TevDerivedDocument, FindsAndLosesItsFileUnderTheNativeFolderPath) {
    TempFolder folder;
    const std::string native = folder.appPath().toUtf8();
#if defined(_WIN32)
    ASSERT_GE(native.size(), 3U) << native;
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(native[0])) && native[1] == ':' &&
                native[2] == '\\')
        << "a drive letter starts " << native;
    EXPECT_EQ(native.find('/'), std::string::npos) << native;
#endif
    folder.createFile("Details/A1.dwg");
    FakeHost host(folder.appPath());
    FakeDetailDocument* doc = detailA1(host);
    ASSERT_EQ(doc->objects().length(), 1);
    EXPECT_EQ(doc->getFullFileName(), folder.appPath("Details/A1.dwg"));
    EXPECT_TRUE(doc->hasDocFile());

    std::filesystem::remove(folder.path() / "Details" / "A1.dwg");
    EXPECT_FALSE(doc->hasDocFile());
    doc->setCheckDocFile(true);
    EXPECT_EQ(doc->objects()[0]->getUpdate(), E::eStatusFileMissing);
}

TEST(TevDerivedDocument, FollowsItsFileOnDiskAndARenameInItsOwnFolder) {
    TempFolder folder;
    folder.createFile("Details/A1.dwg");
    FakeHost host(folder.appPath());
    FakeDetailDocument* doc = detailA1(host);
    ASSERT_NE(doc->getInfo(), nullptr);
    host.log.clear();
    EXPECT_TRUE(doc->hasDocFile());
    EXPECT_FALSE(doc->removeIfFileNotExists());

    std::filesystem::rename(folder.path() / "Details" / "A1.dwg",
                            folder.path() / "Details" / "B2.dwg");
    EXPECT_FALSE(doc->hasDocFile());
    doc->fileNameChanged(u"D:\\Other\\B2.dwg", u"C:\\Elsewhere\\C3.dwg");
    EXPECT_TRUE(doc->hasDocFile()) << "the folder stays the document's own";
    EXPECT_EQ(doc->cachedInfo(), nullptr);

    std::filesystem::remove(folder.path() / "Details" / "B2.dwg");
    doc->setModificationState(static_cast<E::ModificationState>(2));
    EXPECT_TRUE(doc->removeIfFileNotExists());
    EXPECT_EQ(doc->getModificationState(), E::eModificationNone);
    EXPECT_EQ(calls(host), (Texts{"disposeObject(H11)"})) << "a detail withdraws nothing";
}

TEST(TevDerivedDocument, InfoCacheIsBuiltOnDemandThenKeptAndRefreshedFromItsSource) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    doc->fillInfoAllDerObjs(false);
    EXPECT_EQ(calls(host),
              (Texts{kCheck, kBegin, "fillOldInfo(A1.dwg)", "fillOldInfo(H11)", kEnd}));
    doc->fillInfoAllDerObjs(true);
    EXPECT_EQ(calls(host), (Texts{kCheck, kBegin, kRefreshed, kEnd})) << "the cache is kept";

    // Building the cache again leaves the object's info alone.
    const Texts build = {kCheck, kBegin, "fillOldInfo(A1.dwg)", kRefreshed, kEnd};
    doc->resetInfo();
    const TevDerivedDocumentInfo* info = doc->getInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(dwgNoOf(info), TevString(u"old"));
    EXPECT_EQ(calls(host), build);
    doc->fillInfo();
    EXPECT_EQ(doc->getInfo(), info);
    const_cast<TevDerivedDocumentInfo*>(info)->setLastRevIdx(u"C");
    EXPECT_EQ(doc->getLastRevIdx(), TevString(u"C"));
    doc->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(calls(host), (Texts{"refreshOldInfo(A1.dwg,2)"})) << "an existing cache is kept";
    EXPECT_EQ(dwgNoOf(info), TevString(u"refreshed"));

    doc->resetInfo();
    EXPECT_TRUE(doc->getLastRevIdx().isEmpty());
    EXPECT_EQ(calls(host), build);
    doc->resetInfo();
    doc->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(calls(host), build);

    doc->setHasUpdReq(true);
    doc->fillInfo();
    host.log.clear();
    doc->refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(calls(host), (Texts{kRefreshed, "refreshNewInfo(doc A1.dwg,1)", kRefreshed}));
}

TEST(TevDerivedDocumentBom, TakesItsKeyFromTheReportCreatesItsObjectOnceAndWritesTheNumberBack) {
    FakeHost host;
    FakeBomDocument* doc = host.addBom(5, "..\\BOM\\Parts.txt");
    host.reportManager.dstvReports.insert(7);
    FakeBomDocument* dstv = host.addBom(7, "Lists\\D7.txt");
    FakeBomDocument* negative = host.addBom(-1, "..\\BOM\\Neg.txt");
    ASSERT_TRUE(doc != nullptr && dstv != nullptr && negative != nullptr);
    EXPECT_EQ(doc->getKey(),
              Key(E::eDocTypeBom, E::eDocSubTypeNone, 5, u"Parts.txt", u"\\BOM\\", u""));
    EXPECT_EQ(dstv->getKey(),
              Key(E::eDocTypeBom, E::eDocSubTypeDstv, 7, u"D7.txt", u"\\DSTV\\", u""));
    EXPECT_EQ(negative->getKey().m_id, -1);
    TevString relPath = u"stale", fileName = u"stale";
    TevDerivedDocumentBom::getRelPathAndFileNameFromPath(false, u"Lists\\P.txt", relPath, fileName);
    EXPECT_EQ(relPath + fileName, TevString(u"\\BOM\\P.txt"));

    EXPECT_EQ(host.log.only("createBomObject"),
              (Texts{"createBomObject(Parts.txt,)", "createBomObject(D7.txt,)",
                     "createBomObject(Neg.txt,)"}));
    EXPECT_EQ(doc->objects()[0]->getUpdateFast(), E::eStatusUndetermined);
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, true), 1);
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), (Texts{"checkDerivedObjects(Parts.txt,11)"}));
    doc->reset();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, true), 1);
    EXPECT_EQ(doc->objects()[0]->getUpdateFast(), E::eStatusOk) << "a reset status";
    doc->reset();
    host.factory.nullObjects = true;
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, true), 0);
    EXPECT_EQ(calls(host, "addAllDerivedObjects"),
              (Texts{"createBomObject(Parts.txt,)", "checkDerivedObjects(Parts.txt,11)"}));
    host.factory.nullObjects = false;
    TevDerivedDocumentsModel::setFactory(nullptr);
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, true), 0) << "no factory to ask";
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), Texts{});
    EXPECT_EQ(doc->getReport().m_number, 5) << "the report it was made from";
    EXPECT_EQ(doc->getReport().m_filePath, TevString(u"..\\BOM\\Parts.txt"));

    EXPECT_EQ(negative->deregistFromModel(), 1);
    host.reportManager.withdrawResult = 0;
    EXPECT_EQ(negative->deregistFromModel(), 0);
    EXPECT_EQ(host.log.only("withdrawReport"), (Texts{"withdrawReport(-1,..\\BOM\\Neg.txt)",
                                                      "withdrawReport(-1,..\\BOM\\Neg.txt)"}));
}

TEST(TevDerivedDocumentBom, AMissingFileMakesTheDocumentObsoleteAndWithdrawsTheReport) {
    TempFolder folder;
    folder.createFile("BOM/Parts.txt");
    FakeHost host(folder.appPath());
    FakeBomDocument* doc = host.addBom(5, "..\\BOM\\Parts.txt", false, true);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->removeIfFileNotExists());
    std::filesystem::remove(folder.path() / "BOM" / "Parts.txt");
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(true, true, true, false), 0);
    EXPECT_EQ(doc->getModificationState(), E::eModificationNone);
    const Texts obsolete = {"derivedDocModified(1)", "deregistFromModel(Parts.txt)",
                            "getReportManager", "withdrawReport(5,..\\BOM\\Parts.txt)",
                            "disposeObject(Parts.txt:bom)"};
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), obsolete);

    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, false), 1)
        << "without the file check a missing file is no obstacle";
    host.log.clear();
    EXPECT_TRUE(doc->removeIfFileNotExists());
    EXPECT_EQ(calls(host), obsolete);

    // Without report manager nothing is withdrawn, and the document still goes obsolete.
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, false), 1);
    host.model().reportManager = nullptr;
    host.log.clear();
    EXPECT_EQ(doc->deregistFromModel(), 0);
    doc->setObsolete();
    EXPECT_EQ(calls(host), (Texts{"deregistFromModel(Parts.txt)", "getReportManager",
                                  "derivedDocModified(1)", "deregistFromModel(Parts.txt)",
                                  "getReportManager", "disposeObject(Parts.txt:bom)"}));
}

TEST(TevDerivedDocumentDetail, SplitsItsCreationPath) {
    // Each row: path, relative path, file name, assertions reported.
    const std::tuple<const char16_t*, const char16_t*, const char16_t*, Texts> cases[] = {
        {u"..\\Details\\A1.dwg", u"\\Details\\", u"A1.dwg", {}},
        {u"..\\Sheets\\Sub\\A1", u"\\Sheets\\Sub\\", u"A1.dwg", {}},
        {u"..\\Details\\A1.DWG", u"\\Details\\", u"A1.DWG", {}},
        {u"..\\Details\\A1.tmp", u"\\Details\\", u"A1.tmp.dwg", {}},
        {u"C:\\x..y\\A1.dwg", u"..y\\", u"A1.dwg", {}},
        {u"Sheets\\A1.dwg", u"\\Details\\", u"A1.dwg", {"0"}}};
    for (const auto& [path, expectedRelPath, expectedFileName, assertions] : cases) {
        SCOPED_TRACE(TevString(path).toUtf8());
        const ScopedAssertionRecorder recorder;
        TevString relPath = u"stale", fileName = u"stale";
        TevDerivedDocumentDetail::getRelPathAndFileNameFromPath(path, relPath, fileName);
        EXPECT_EQ(relPath, TevString(expectedRelPath));
        EXPECT_EQ(fileName, TevString(expectedFileName));
        EXPECT_EQ(recorder.texts(), assertions);
    }
}

TEST(TevDerivedDocumentDetail, HasItsKeyAndDefaultsAndUsesCacheAndModelOnlyWhenNeeded) {
    FakeHost host;
    FakeDetailDocument* doc = detailA1(host);
    EXPECT_EQ(doc->getKey(),
              Key(E::eDocTypeDetail, E::eDocSubTypeNone, 11, u"A1.dwg", u"\\Details\\", u""));
    EXPECT_EQ(doc->getEnableUpdateBOM(), 0);
    doc->setEnableUpdateBOM(1);
    EXPECT_EQ(doc->getEnableUpdateBOM(), 1);
    doc->setEnableUpdateBOM(0);
    EXPECT_TRUE(doc->getCheckDocFile()) << "a new document still has to check its file";
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

    host.log.clear();
    doc->addUpdOnlyDerivedObjects(true, false);
    doc->setHasUpdReq(true);
    doc->addUpdOnlyDerivedObjects(true, false);
    doc->setHasUpdReq(false);
    EXPECT_EQ(calls(host), (Texts{"model.addUpdOnlyDerivedObjects(A1.dwg,00)",
                                  "model.addUpdOnlyDerivedObjects(A1.dwg,10)"}));
}

TEST(TevDerivedDocumentNC, KeyCarriesFolderNameAndFlagAndTheDocumentKeepsItsOneObject) {
    FakeHost host;
    FakeNCDocument* flagged =
        host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "P1-named", true);
    FakeNCDocument* doc = host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "P1-named", false);
    FakeNCDocument* bare = host.addNC("P2.nc", E::eDocSubTypeNCDxf, "P2", false);
    ASSERT_TRUE(flagged != nullptr && doc != nullptr && bare != nullptr);
    EXPECT_EQ(flagged->getKey(), Key(E::eDocTypeNC, E::eDocSubTypeNCNamed, 0, u"P1.nc",
                                     u"\\NC\\Plates\\", u"P1-named"));
    EXPECT_TRUE(flagged->getKey().m_ncFlag);
    EXPECT_EQ(doc->getKey().m_id, 1);
    EXPECT_FALSE(doc->getKey().m_ncFlag);
    EXPECT_EQ(bare->getFullFileName(), TevString(u"C:\\Model\\DerDocs\\P2.nc"));

    EXPECT_EQ(host.log.only("createNCObject"),
              (Texts{"createNCObject(P1.nc)", "createNCObject(P1.nc)", "createNCObject(P2.nc)"}));
    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, false, false), 1);
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), (Texts{"checkDerivedObjects(P1.nc,11)"}));
    doc->setHasUpdReq(true);
    EXPECT_EQ(doc->getInitialFilename(), TevString(u"P1")) << "without a recorded name";
    EXPECT_EQ(host.log.only("fillNewInfo(doc P1.nc)").size(), 1U);
    const_cast<TevDerivedDocumentInfo*>(doc->getInfo())->setInitialFileName(u"C:\\Out\\First.nc");
    EXPECT_EQ(doc->getInitialFilename(), TevString(u"First.nc"));

    host.log.clear();
    EXPECT_EQ(doc->addAllDerivedObjects(false, true, true, false), 0) << "its file is missing";
    EXPECT_EQ(calls(host, "addAllDerivedObjects"), (Texts{"disposeObject(P1.nc:nc)"}));
}

} // namespace
