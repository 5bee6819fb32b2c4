// Documents of the three kinds and their infos: the object list, resets, updates, the
// info cache and its refreshes, keys and paths.
#include "FakeHost.h"

namespace {

using namespace lumtest;
using Info = TevDerivedDocumentInfo;

const Texts kNames = {"dwgNo",          "approvalDate",    "approvalComment",
                      "approvalStatus", "checkStatus",     "revisions",
                      "lastRevIdx",     "initialFileName", "prototypeName"};
const std::string kAll = joined(kNames);

// An info whose every field differs from a new info's.
Info filledInfo() {
    Info info;
    info.setDwgNo(u"42", u"ST-");
    info.setApprovalDate(u"2024-05-01");
    info.setApprovalComment(u"approved by the checker");
    info.setApprovalStatusIndex(2);
    info.setCheckStatus(0);
    Info::RevisionTable revisions;
    revisions.append(TevArray<TevString>());
    info.setRevisions(revisions);
    info.setLastRevIdx(u"A");
    info.setInitialFileName(u"C:\\Dwg\\D42.dwg");
    info.setPrototypeName(u"C:\\Proto\\Std.dwg");
    return info;
}

// The fields in the order of kNames; the drawing number as "prefix/number", the revisions
// as their number of rows.
Texts valuesOf(const Info& info) {
    TevString dwgNo, prefix;
    info.getDwgNo(dwgNo, prefix);
    return {prefix.toUtf8() + "/" + dwgNo.toUtf8(), info.getApprovalDate().toUtf8(),
            info.getApprovalComment().toUtf8(),     std::to_string(info.getApprovalStatusIndex()),
            std::to_string(info.getCheckStatus()),  std::to_string(info.getRevisions().length()),
            info.getLastRevIdx().toUtf8(),          info.getInitialFileName().toUtf8(),
            info.getPrototypeName().toUtf8()};
}

// The names of the fields in which `info` agrees with `src`, separated by spaces.
std::string fieldsEqualTo(const Info& info, const Info& src) {
    const Texts mine = valuesOf(info), theirs = valuesOf(src);
    Texts same;
    for (std::size_t field = 0; field < mine.size(); ++field) {
        if (mine[field] == theirs[field]) {
            same.push_back(kNames[field]);
        }
    }
    return joined(same);
}

// refreshInfo copies exactly the parts asked for, and nothing from a null source.
TEST(TevDerivedDocumentInfo, RefreshInfoCopiesThePartsAskedForAndNothingFromANullSource) {
    const std::tuple<int, bool, std::string> cases[] = {
        {E::eDerivedDocInfoDwgNo, true, "dwgNo approvalComment"},
        {E::eDerivedDocInfoDwgNo, false, "dwgNo"},
        {E::eDerivedDocInfoCheckStatus, true, "approvalComment checkStatus"},
        {E::eDerivedDocInfoApproval, true, "approvalDate approvalComment approvalStatus"},
        {E::eDerivedDocInfoApproval, false, ""},
        {E::eDerivedDocInfoRevisions, false, "revisions lastRevIdx initialFileName"},
        {E::eDerivedDocInfoRevisions, true, "revisions lastRevIdx initialFileName"},
        {15, true, kAll.substr(0, kAll.rfind(' '))}, // all but the prototype name
        {E::eDerivedDocInfoAll, false, "dwgNo revisions lastRevIdx initialFileName prototypeName"},
        {E::eDerivedDocInfoAll, true, kAll},
    };
    const Info src = filledInfo();
    for (const auto& [what, withApproval, copied] : cases) {
        Info info;
        info.refreshInfo(&src, static_cast<E::eDerivedDocInfo>(what), withApproval);
        EXPECT_EQ(fieldsEqualTo(info, src), copied)
            << "what " << what << ", withApproval " << withApproval;
    }

    const ScopedAssertionRecorder recorder;
    Info info = filledInfo();
    info.setFrom(nullptr, true);
    info.refreshInfo(nullptr, E::eDerivedDocInfoAll, true);
    info.refreshInfo(nullptr, E::eDerivedDocInfoDwgNo, false);
    EXPECT_EQ(recorder.texts(), (Texts{"src", "src", "src"}));
}

std::string keyOf(const TevDerivedDocument* doc) {
    const TevDerivedDocKey key = doc->getKey();
    return text(TevHash<TevDerivedDocKey>::text(key)) + (key.m_ncFlag ? " flagged" : "");
}

// What the model and the hooks see of an update or an info fill of A1.dwg.
const std::string kCheck = "checkDerivedObjects(A1.dwg,11)";
const std::string kBegin = "beginGetUpdateAllDerObjs(A1.dwg)";
const std::string kEnd = "endGetUpdateAllDerObjs(A1.dwg)";
const std::string kRefreshed = "derivedDocRefreshed(A1.dwg)";

// A detail document with model-only parts of its info.
struct ModelOnlyDocument : FakeDetailDocument {
    using FakeDetailDocument::FakeDetailDocument;
    void fillModelOnlyInfo(TevDerivedDocumentInfo* info) override { info->setLastRevIdx(u"M"); }
    void refreshModelOnlyInfo(TevDerivedDocumentInfo* info, E::eDerivedDocInfo) override {
        info->setLastRevIdx(u"R");
    }
};

struct TevDerivedDocumentTest : DetailDocumentTest {
    // The calls since the last look, without the command-active queries of new or updated
    // objects and those starting with `ignored`; the log is cleared.
    Texts calls(const char* ignored = "isCommandActive") {
        return host.log.take({"isCommandActive", ignored});
    }
};

// Adding checks only when asked, deleting always disposes, and the getter filters by type.
TEST_F(TevDerivedDocumentTest, AddChecksOnlyWhenAskedDeleteAlwaysDisposesAndGetFiltersByType) {
    struct OldReference : FakeDetailObject { // names the protected member it clears
        static void*& of(TevDerivedObject* o) { return o->*(&OldReference::m_oldObjProxy); }
    };
    OldReference::of(doc->objects()[0]) = doc;
    doc->resetOldDocRef();
    EXPECT_EQ(OldReference::of(doc->objects()[0]), nullptr);
    EXPECT_EQ(text(doc->getFullUpdFileName()), text(folder.appPath("Details/A1.upd")));
    TevDerivedObject* sameHandle = host.factory.makeDetailObject(doc, 12, u"H11", "other");
    doc->addDerivedObject(sameHandle, true); // refused: same handle, other id
    host.addObject(doc, 12, u"H11", false, false, "again");
    host.addObject(doc, 21, u"", false, true); // objects without handle are told apart by id
    TevDerivedObject* last = host.addObject(doc, 22, u"", false, true);
    TevDerivedObject* twin = host.factory.makeDetailObject(doc, 21, u"", "twin");
    EXPECT_FALSE(doc->addDerivedObject(twin, true));
    int index = 42;
    EXPECT_EQ(doc->getIndexOf(u"h11", index), 0) << "handles compare case-sensitively";
    EXPECT_EQ(doc->getIndexOf(u"H11", index) * 10 + index, 10) << "the first match";

    // Deleting disposes of the object, even of one that is not listed.
    EXPECT_EQ((Ints{doc->deleteDerivedObject(sameHandle), doc->deleteDerivedObject(twin),
                    doc->deleteDerivedObject(4), doc->deleteDerivedObject(-1),
                    doc->deleteDerivedObject(1), doc->deleteDerivedObject(last)}),
              (Ints{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(recorder.take(), Texts(2, "index >= 0 && index < m_derivedObjects.length()"));

    // getDerivedObjects empties `out` first and reports null entries unless taking all.
    TevDerivedObject* bom = host.factory.createBomObject(doc, u"B1");
    doc->addDerivedObject(bom, false);
    doc->addDerivedObject(nullptr, false);
    TevArray<TevDerivedObject*> out;
    out.append(bom);
    doc->getDerivedObjects(out, E::eDocTypeDetail);
    EXPECT_EQ(std::to_string(out.length()) + nameOf(out[0]) + nameOf(out[1]), "2H11detail21");
    EXPECT_EQ(recorder.take(), Texts{"pObj"});
    doc->getDerivedObjects(out, E::eDocTypeAll);
    EXPECT_FALSE(doc->hasObject(nullptr));
    doc->derivedObjectsDeleted();
    EXPECT_TRUE(doc->objects().isEmpty());
    for (TevDerivedObject* each : out) {
        if (each != nullptr) {
            host.factory.disposeObject(each, &host.model()); // the host's own disposal
        }
    }
}

// reset and setHasUpdReq dispose of the objects in order and clear the state.
TEST_F(TevDerivedDocumentTest, ResetAndSetHasUpdReqDisposeOfTheObjectsInOrder) {
    EXPECT_EQ(
        (Ints{doc->getHasDerObjWithNoUpd(), doc->getClosedWithoutSave(), doc->getCheckDocFile()}),
        (Ints{0, 0, 1}));
    host.addObject(doc, 12, u"H12");
    doc->setHasUpdReq(true);
    doc->getInfo();
    doc->setModificationState(E::eModificationObsolete);
    doc->setClosedWithoutSave(3);
    doc->setHasDerObjWithNoUpd(true);
    doc->setCheckDocFile(false);
    EXPECT_EQ(doc->getClosedWithoutSave(), 3);
    host.log.clear();
    doc->reset();
    EXPECT_EQ(calls(), (Texts{"disposeObject(H11)", "disposeObject(H12)"}));
    EXPECT_EQ((Ints{doc->getModificationState(), doc->getClosedWithoutSave(),
                    doc->cachedInfo() != nullptr, doc->hasUpdReq(), doc->getHasDerObjWithNoUpd(),
                    doc->getCheckDocFile()}),
              (Ints{E::eModificationNone, 0, 0, 0, 1, 0}));

    // Without a factory the list is emptied all the same, and nobody disposes.
    TevDerivedObject* kept = host.addObject(doc, 21, u"H21");
    TevDerivedDocumentsModel::setFactory(nullptr);
    doc->reset();
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_EQ(recorder.take(), (Texts{"pFact"}));
    doc->deleteDerivedObject(kept); // disposes of it

    // setHasUpdReq lets the kind add update-only objects, and removes them all.
    host.model().addUpdOnly = [this](TevDerivedDocument*) {
        host.addObject(doc, 50, u"U50", true);
        host.addObject(doc, 51, u"U51", true);
        host.addObject(doc, 12, u"H12");
        host.addObject(doc, 52, u"U52", true);
    };
    doc->setHasUpdReq(true);
    const TevDerivedDocumentInfo* info = doc->getInfo();
    doc->setHasUpdReq(true);
    EXPECT_EQ(doc->cachedInfo(), info) << "the same value changes nothing";
    host.log.clear();
    doc->setHasUpdReq(false);
    EXPECT_EQ(calls(), (Texts{"disposeObject(U50)", "disposeObject(U51)", "disposeObject(U52)"}));
    EXPECT_EQ(doc->cachedInfo(), nullptr);

    doc->setModificationState(static_cast<E::ModificationState>(2));
    EXPECT_EQ(doc->getModificationState(), 2);
    doc->setModificationState(E::eModificationNone);
    doc->setModificationState(E::eModificationObsolete);
    doc->setModificationState(E::eModificationObsolete);
    EXPECT_EQ(calls(), (Texts{"derivedDocModified(1)", "derivedDocModified(1)"}))
        << "the obsolete state is announced every time";
}

// getUpdateAllDerObjs updates in order, then fills and notifies, unless refused.
TEST_F(TevDerivedDocumentTest, GetUpdateAllDerObjsUpdatesInOrderThenFillsAndNotifiesUnlessRefused) {
    host.addObject(doc, 50, u"U50", true);
    host.addObject(doc, 12, u"H12");
    for (TevDerivedObject* obj : doc->objects()) {
        obj->setHasUpdReq(true);
        obj->setStatus(E::eStatusOk);
    }
    host.model().newUpdate = E::eStatusRecheck;
    // A refused document only marks its objects: the calls below are all of the next update.
    doc->script.checkDocumentStatus = false;
    doc->getUpdateAllDerObjs(false);
    for (TevDerivedObject* obj : doc->objects()) {
        EXPECT_EQ(obj->getUpdateFast(), E::eStatusUndetermined) << nameOf(obj);
    }

    doc->script.checkDocumentStatus = true;
    doc->getUpdateAllDerObjs(false);
    EXPECT_EQ(calls(), (Texts{kCheck, kBegin, "getNewUpdate(H11,0)", "getNewUpdate(U50,0)",
                              "getNewUpdate(H12,0)", kEnd, kCheck, kBegin, "fillOldInfo(A1.dwg)",
                              "fillNewInfo(H11)", "fillNewInfo(U50)", "fillNewInfo(H12)", kEnd,
                              kRefreshed}));
    host.model().newUpdate = E::eStatusError1002;
    doc->getUpdateAllDerObjs(true);
    EXPECT_EQ(host.log.only("getNewUpdate"), (Texts{"getNewUpdate(U50,0)"}));
}

// The info cache is built on demand, kept, refreshed; a row takes the last revision.
TEST_F(TevDerivedDocumentTest, InfoCacheIsBuiltOnDemandKeptAndRefreshedAndRowTakesTheLastRevision) {
    doc->fillInfoAllDerObjs(false);
    doc->fillInfoAllDerObjs(true);
    EXPECT_EQ(calls(), (Texts{kCheck, kBegin, "fillOldInfo(A1.dwg)", "fillOldInfo(H11)", kEnd,
                              kCheck, kBegin, kRefreshed, kEnd}))
        << "the cache is kept";

    // Building the cache again leaves the object's info alone.
    const Texts build = {kCheck, kBegin, "fillOldInfo(A1.dwg)", kRefreshed, kEnd};
    doc->resetInfo();
    const TevDerivedDocumentInfo* info = doc->getInfo();
    EXPECT_EQ(calls(), build);
    doc->fillInfo();
    const_cast<TevDerivedDocumentInfo*>(info)->setLastRevIdx(u"C");
    doc->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(calls(), (Texts{"refreshOldInfo(A1.dwg,2)"})) << "an existing cache is kept";
    EXPECT_EQ(valuesOf(*info)[0] + text(doc->getLastRevIdx()), "/refreshedC");
    doc->resetInfo();
    doc->getLastRevIdx();
    EXPECT_EQ(calls(), build);
    doc->resetInfo();
    doc->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(calls(), build);

    // With an update the model fills and refreshes the cache, after the model-only parts.
    ModelOnlyDocument own(host.log, host.factory, &host.model(), 12, u"..\\Details\\A1.dwg");
    own.setHasUpdReq(true);
    EXPECT_EQ(text(own.getLastRevIdx()), "M");
    host.log.clear();
    own.refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(calls(), (Texts{kRefreshed, "refreshNewInfo(doc A1.dwg,1)", kRefreshed}));
    EXPECT_EQ(text(own.getLastRevIdx()), "R");

    // A row takes the last revision's entries and keeps what a short one lacks.
    auto* cached = const_cast<TevDerivedDocumentInfo*>(doc->getInfo());
    TevDerivedDocumentInfo::RevisionTable revisions;
    revisions.append(listOf({u"r0", u"r1", u"r2", u"r3", u"r4"}));
    TevDocManObject row;
    const auto entries = [&row] {
        return text(row.m_lastRevisionEntry1) + text(row.m_lastRevisionEntry2) +
               text(row.m_lastRevisionEntry3) + text(row.m_lastRevisionEntry4);
    };
    cached->setRevisions(revisions);
    doc->fillDocManObjectData(row);
    EXPECT_EQ(entries(), "r1r2r3r4");
    revisions.append(listOf({u"s0", u"s1", u"s2"}));
    cached->setRevisions(revisions);
    doc->fillDocManObjectData(row);
    EXPECT_EQ(entries(), "s1s2r3r4");
    EXPECT_EQ(recorder.take(), (Texts{"isValid( index )", "isValid( index )"}));
}

// A BOM takes its key from the report, creates its object once and goes with its file.
TEST_F(TevDerivedDocumentTest, BomTakesItsKeyFromTheReportCreatesItsObjectOnceAndGoesWithItsFile) {
    FakeBomDocument* bom = host.addBom(5, "..\\Lists\\Parts.txt");
    host.reportManager.dstvReports.insert(7);
    FakeBomDocument* dstv = host.addBom(7, "Lists\\D7.txt");
    FakeBomDocument* negative = host.addBom(-1, "BOM\\Neg.txt");
    EXPECT_EQ(
        (Texts{keyOf(bom), keyOf(dstv), keyOf(negative)}),
        (Texts{"1 3 5 Parts.txt \\Lists\\ ", "1 0 7 D7.txt \\DSTV\\ ", "1 3 -1 Neg.txt \\BOM\\ "}));
    host.log.clear();
    bom->addAllDerivedObjects(false, true, false, true);
    bom->reset();
    bom->addAllDerivedObjects(false, true, false, true);
    EXPECT_EQ(bom->objects()[0]->getUpdateFast(), E::eStatusOk) << "a reset status";
    bom->reset();
    host.factory.nullObjects = true;
    EXPECT_EQ(bom->addAllDerivedObjects(false, true, false, true), 0);
    host.factory.nullObjects = false;
    TevDerivedDocumentsModel::setFactory(nullptr);
    EXPECT_EQ(bom->addAllDerivedObjects(false, true, false, true), 0) << "no factory to ask";
    TevDerivedDocumentsModel::setFactory(&host.factory);
    EXPECT_EQ(calls("addAllDerivedObjects"),
              (Texts{"checkDerivedObjects(Parts.txt,11)", "disposeObject(Parts.txt:bom)",
                     "createBomObject(Parts.txt,)", "checkDerivedObjects(Parts.txt,11)",
                     "disposeObject(Parts.txt:bom)", "createBomObject(Parts.txt,)",
                     "checkDerivedObjects(Parts.txt,11)"}));

    // Without its file it goes obsolete and withdraws its report.
    folder.createFile("BOM/Neg.txt");
    EXPECT_FALSE(negative->removeIfFileNotExists());
    std::filesystem::remove(folder.path() / "BOM" / "Neg.txt");
    EXPECT_TRUE(negative->removeIfFileNotExists());
    EXPECT_EQ(calls(),
              (Texts{"derivedDocModified(1)", "deregistFromModel(Neg.txt)", "getReportManager",
                     "withdrawReport(-1,..\\BOM\\Neg.txt)", "disposeObject(Neg.txt:bom)"}));
}

// An NC key carries folder, name and flag; paths split; the document keeps its object.
TEST_F(TevDerivedDocumentTest, KeyCarriesFolderNameAndFlagPathsSplitAndTheDocumentKeepsItsObject) {
    FakeNCDocument* flagged =
        host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "P1-named", true);
    FakeNCDocument* nc = host.addNC("NC\\Plates\\P1.nc", E::eDocSubTypeNCNamed, "P1-named", false);
    FakeNCDocument* bare = host.addNC("P2.nc", E::eDocSubTypeNCDxf, "P2", false);
    EXPECT_EQ((Texts{keyOf(flagged), keyOf(nc), text(bare->getFullFileName())}),
              (Texts{"2 1 0 P1.nc \\NC\\Plates\\ P1-named flagged",
                     "2 1 1 P1.nc \\NC\\Plates\\ P1-named", text(folder.appPath("P2.nc"))}));
    host.log.clear();
    nc->addAllDerivedObjects(false, true, false, false);
    EXPECT_EQ(calls("addAllDerivedObjects"), (Texts{"checkDerivedObjects(P1.nc,11)"}));
    nc->setHasUpdReq(true);
    EXPECT_EQ(text(nc->getInitialFilename()), "P1") << "without a recorded name";
    EXPECT_EQ(calls(), (Texts{"checkDerivedObjects(P1.nc,11)", "beginGetUpdateAllDerObjs(P1.nc)",
                              "fillNewInfo(doc P1.nc)", "fillOldInfo(P1.nc:nc)",
                              "derivedDocRefreshed(P1.nc)", "endGetUpdateAllDerObjs(P1.nc)"}));
    const_cast<TevDerivedDocumentInfo*>(nc->getInfo())->setInitialFileName(u"C:\\Out\\First.nc");
    EXPECT_EQ(text(nc->getInitialFilename()), "First.nc");

    EXPECT_EQ(nc->addAllDerivedObjects(false, true, true, false), 0) << "its file is missing";
    EXPECT_EQ(calls("addAllDerivedObjects"), (Texts{"disposeObject(P1.nc:nc)"}));

    // A detail document splits its creation path into folder and file name.
    // Each row: path, relative path and file name, assertions reported.
    const std::tuple<const char16_t*, const char*, Texts> cases[] = {
        {u"..\\Details\\A1.dwg", "\\Details\\ A1.dwg", {}},
        {u"..\\Sheets\\Sub\\A1", "\\Sheets\\Sub\\ A1.dwg", {}},
        {u"..\\Details\\A1.DWG", "\\Details\\ A1.DWG", {}},
        {u"..\\Details\\A1.tmp", "\\Details\\ A1.tmp.dwg", {}},
        {u"C:\\x..y\\A1.dwg", "..y\\ A1.dwg", {}},
        {u"Sheets\\A1.dwg", "\\Details\\ A1.dwg", {"0"}}};
    for (const auto& [path, expected, assertions] : cases) {
        TevString relPath = u"stale", fileName = u"stale";
        TevDerivedDocumentDetail::getRelPathAndFileNameFromPath(path, relPath, fileName);
        EXPECT_EQ(text(relPath) + " " + text(fileName), expected);
        EXPECT_EQ(recorder.take(), assertions) << expected;
    }
}

} // namespace
