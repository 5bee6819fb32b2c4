// Rows of the host's document-manager table: appending, filling, the commands the
// host sends for a row, refreshing and taking rows out, for objects, documents and
// the model.
#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedObjectInfo.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::ScopedAssertionRecorder;
using lumtest::text;
using E = TevDerDocEnums;
using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;
using Table = TevArray<TevDocManObject>;

const char* const kA1Full = "isCommandActive(C:\\Model\\DerDocs\\Details\\A1.dwg)";

// One test's world. The table outlives the host, so that rows are still there while
// the model disposes of its documents, and every assertion the library reports is
// recorded: a test that expects none ends with none ("!m_alreadyInTable" among them).
struct Bench {
    ScopedAssertionRecorder recorder;
    Table table;
    std::unique_ptr<FakeHost> owner = std::make_unique<FakeHost>();
    FakeHost& host = *owner;

    Bench() { host.model().setDocManObjects(&table); }
    ~Bench() {
        owner.reset();
        EXPECT_EQ(recorder.texts(), Texts{}) << "assertions reported by the library";
    }
};

// A detail document that runs a hook while the host updates one of its objects.
struct HookedDetail : lumtest::FakeDetailDocument {
    using lumtest::FakeDetailDocument::FakeDetailDocument;
    E::ErrorStatus updateDerivedObject(int& out, const TevString& handle, E::ObjectModification mod,
                                       bool msgWas4, bool flag, bool msgWas13) override {
        if (onUpdate) {
            onUpdate();
        }
        return lumtest::FakeDetailDocument::updateDerivedObject(out, handle, mod, msgWas4, flag,
                                                                msgWas13);
    }
    std::function<void()> onUpdate;
};

TevDerivedObject* firstObject(const TevDerivedDocument* doc) {
    TevArray<TevDerivedObject*> objects;
    doc->getDerivedObjects(objects, E::eDocTypeAll);
    return objects.isEmpty() ? nullptr : objects[0];
}

TevDerivedDocumentInfo& docInfo(TevDerivedDocument* doc) {
    return *const_cast<TevDerivedDocumentInfo*>(doc->getInfo());
}

template <class Info>
Info& objectInfo(TevDerivedObject* obj) {
    auto* info = dynamic_cast<Info*>(const_cast<TevDerivedObjectInfo*>(obj->getInfo()));
    EXPECT_NE(info, nullptr);
    return *info;
}

TevArray<TevString> tevTexts(std::initializer_list<const char*> values) {
    TevArray<TevString> out;
    for (const char* value : values) {
        out.append(TevString(value));
    }
    return out;
}

Texts texts(const TevArray<TevString>& values) {
    Texts out;
    for (const TevString& value : values) {
        out.push_back(text(value));
    }
    return out;
}

// The texts of several row fields, to compare them at once.
Texts fields(std::initializer_list<TevString> values) {
    Texts out;
    for (const TevString& value : values) {
        out.push_back(text(value));
    }
    return out;
}

using Ints = std::vector<int>;
using Objects = std::vector<const TevDerivedObject*>;

Objects objectsOf(const Table& table) {
    Objects out;
    for (const TevDocManObject& row : table) {
        out.push_back(row.m_derivedObject);
    }
    return out;
}

int send(TevDerivedObject* obj, TevDocManObject& row, int message, bool flag = false) {
    int out = 0;
    return obj->updateDocManObject(row, message, flag, out, 2);
}

TEST(TevDerivedObject, AppendsOneRowUntilItsRowIsRemovedOrForgotten) {
    Bench b;
    TevDerivedObject* obj = firstObject(b.host.addDetail(7, "..\\Details\\A1.dwg"));
    EXPECT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    EXPECT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 0);
    EXPECT_EQ(objectsOf(b.table), Objects{obj});

    obj->removeDocManInformations(&b.table);
    EXPECT_TRUE(b.table.isEmpty());
    EXPECT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1) << "after a removal";

    obj->removeFromTable();
    EXPECT_EQ(b.table.length(), 1) << "forgetting touches no row";
    EXPECT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1) << "after forgetting";
    EXPECT_EQ(objectsOf(b.table), (Objects{obj, obj}));
}

TEST(TevDerivedObject, AppendsOnlyWhenTheFilterMatchesTheDocumentSubtype) {
    Bench b;
    TevDerivedObject* bom = firstObject(b.host.addBom(5, "..\\BOM\\Parts.txt"));
    TevDerivedObject* named =
        firstObject(b.host.addNC("NC\\P1.nc", E::eDocSubTypeNCNamed, "N1", 0));
    EXPECT_EQ(bom->appendDocManObject(&b.table, E::eDocSubTypeNCNamed), 0);
    EXPECT_EQ(named->appendDocManObject(&b.table, E::eDocSubTypeNCDxf), 0);
    EXPECT_TRUE(b.table.isEmpty());
    EXPECT_EQ(named->appendDocManObject(&b.table, E::eDocSubTypeNCNamed), 1);
    EXPECT_EQ(bom->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    EXPECT_EQ(objectsOf(b.table), (Objects{named, bom}));
}

TEST(TevDerivedObject, AppendedRowCarriesTheDocumentAndTheObject) {
    Bench b;
    b.host.model().commandActive = 1;
    TevDerivedDocument* doc = b.host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* obj = firstObject(doc);
    TevDerivedDocumentInfo& info = docInfo(doc);
    info.setDwgNo(u"12", u"A-");
    info.setApprovalDate(u"2024-05-06");
    info.setApprovalComment(u"fine");
    info.setApprovalStatusIndex(3);
    info.setCheckStatus(0);
    TevDerivedDocumentInfo::RevisionTable revisions;
    revisions.append(tevTexts({"a0", "a1", "a2", "a3", "a4"}));
    revisions.append(tevTexts({"b0", "b1", "b2", "b3", "b4", "b5"}));
    info.setRevisions(revisions);
    info.setLastRevIdx(u"B");
    info.setPrototypeName(u"Std");

    ASSERT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    ASSERT_EQ(b.table.length(), 1);
    const TevDocManObject& row = b.table[0];
    EXPECT_EQ(fields({row.m_fileName, row.m_path, row.m_fullDwgNo, row.m_approvalDate,
                      row.m_approvalComment, row.m_lastRevIdx, row.m_lastRevisionEntry2,
                      row.m_lastRevisionEntry1, row.m_lastRevisionEntry3, row.m_lastRevisionEntry4,
                      row.m_prototypeName}),
              (Texts{"A1.dwg", "C:\\Model\\DerDocs\\Details\\", "A-12", "2024-05-06", "fine", "B",
                     "b2", "b1", "b3", "b4", "Std"}));
    ASSERT_EQ(row.m_revisions.length(), 2);
    EXPECT_EQ(texts(row.m_revisions[0]), (Texts{"a0", "a1", "a2", "a3", "a4"}));
    // Approval status, check status, display status (a new object is undetermined),
    // command-active.
    EXPECT_EQ((Ints{row.m_approvalStatusIndex, row.m_checkStatus, row.m_objectStatus,
                    row.m_commandActive}),
              (Ints{3, 0, 3, 1}));
    EXPECT_EQ(row.m_derivedObject, obj);
    EXPECT_FALSE(row.m_removed);
}

TEST(TevDerivedObject, RowShowsTheDisplayStatusOrFifteenForADuplicate) {
    Bench b;
    TevDerivedDocument* doc = b.host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* obj = firstObject(doc);
    const std::vector<std::pair<int, int>> cases = {
        {E::eStatusUndetermined, 3}, {E::eStatusFileMissing, -2}, {E::eStatusFailed, -5},
        {E::eStatusOk, 0},           {E::eStatusError1002, -4},   {E::eStatusError1008, -3},
        {E::eStatusError6, -1},      {E::eStatusRecheck, 3},      {E::eStatusNotSupported, -5}};
    for (const auto& [status, shown] : cases) {
        obj->setStatus(static_cast<E::ErrorStatus>(status));
        TevDocManObject row;
        obj->fillDocManObjectData(row);
        EXPECT_EQ(row.m_objectStatus, shown) << "status " << status;
    }

    TevDerivedObject* twin = b.host.factory.makeDetailObject(doc, 8, u"H8");
    doc->addDerivedObject(twin, false);
    TevArray<TevDerivedObject*> group;
    group.append(obj);
    group.append(twin);
    b.host.model().appendDuplicateObjects(group);
    for (const E::ErrorStatus status : {E::eStatusOk, E::eStatusFileMissing, E::eStatusFailed}) {
        obj->setStatus(status);
        TevDocManObject row;
        obj->fillDocManObjectData(row);
        EXPECT_EQ(row.m_objectStatus, 15) << "status " << status;
    }
}

// The fixture of the commands: a detail document A1 whose object H7 has a row.
struct CommandBench : Bench {
    lumtest::FakeDetailDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* obj = firstObject(doc);
    TevDocManObject& row() { return table[0]; }

    CommandBench() {
        EXPECT_EQ(obj->appendDocManObject(&table, E::eDocSubTypeAll), 1);
        host.log.clear();
    }
    // Marks the row so that a refill shows, and the details cache so that its reset shows.
    void stale() {
        row().m_title = u"stale";
        row().m_fullDwgNo = u"stale";
        host.model().m_detailsCacheValid = true;
        host.log.clear();
    }
};

TEST(TevDerivedObject, FullUpdateCallsTheHostInOrderAndRebuildsTheDocumentInfo) {
    CommandBench b;
    b.doc->setHasUpdReq(true);
    TevDerivedObject* updOnly = b.host.factory.makeDetailObject(b.doc, 8, u"U8");
    updOnly->setUpdOnlyObject();
    b.doc->addDerivedObject(updOnly, false);
    docInfo(b.doc).setPrototypeName(u"cached");
    b.stale();

    int out = 5;
    EXPECT_EQ(b.obj->updateDocManObject(b.row(), E::eDlgDocManMsgUpdate, false, out, 0), 1);
    EXPECT_EQ(out, 6) << "the out value reaches the host";
    const Calls calls = b.host.log.calls();
    ASSERT_GE(calls.size(), 9U);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 9),
              (Calls{"updateDerivedObject(A1.dwg,H7,1,000)", "checkDerivedObjects(A1.dwg,11)",
                     "beginCheckDerivedObjects", kA1Full, "endCheckDerivedObjects",
                     "model.addUpdOnlyDerivedObjects(A1.dwg,01)", "beginCheckDerivedObjects",
                     kA1Full, "endCheckDerivedObjects"}));
    EXPECT_FALSE(b.host.model().m_detailsCacheValid) << "a detail's cache is reset";
    EXPECT_EQ(text(b.row().m_title), "old:H7");
    EXPECT_EQ(text(b.row().m_fullDwgNo), "new") << "the document info was rebuilt";
    EXPECT_EQ(text(b.row().m_prototypeName), "");

    b.host.log.clear();
    EXPECT_EQ(b.obj->updateDocManObject(b.row(), E::eDlgDocManMsgUpdateAlt, true, out, 0), 1);
    EXPECT_EQ(b.host.log.only("updateDerivedObject"),
              Calls{"updateDerivedObject(A1.dwg,H7,1,011)"});
}

TEST(TevDerivedObject, FullUpdateRunsTheUpdateOnlyHookOnlyWhileTheDocumentNeedsAnUpdate) {
    Bench b;
    HookedDetail doc(b.host.log, b.host.factory, &b.host.model(), 7, u"..\\Details\\A1.dwg");
    TevDerivedObject* obj = b.host.factory.makeDetailObject(&doc, 7, u"H7");
    doc.addDerivedObject(obj, false);
    ASSERT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);

    doc.setHasUpdReq(true);
    doc.onUpdate = [&doc] { doc.setHasUpdReq(false); };
    b.host.log.clear();
    EXPECT_EQ(send(obj, b.table[0], E::eDlgDocManMsgUpdate), 1);
    EXPECT_TRUE(b.host.log.only("model.addUpdOnly").empty()) << "needed before, not after";

    doc.onUpdate = [&doc] { doc.setHasUpdReq(true); };
    b.host.log.clear();
    EXPECT_EQ(send(obj, b.table[0], E::eDlgDocManMsgUpdate), 1);
    EXPECT_EQ(b.host.log.only("model.addUpdOnly"),
              Calls{"model.addUpdOnlyDerivedObjects(A1.dwg,00)"})
        << "only the document's own switch, not the update's hook (flags 01)";
    b.host.log.clear();
    EXPECT_EQ(send(obj, b.table[0], E::eDlgDocManMsgUpdate), 1);
    EXPECT_EQ(b.host.log.only("model.addUpdOnly"),
              Calls{"model.addUpdOnlyDerivedObjects(A1.dwg,01)"})
        << "needed before and after";
    obj->removeDocManInformations(&b.table);
}

TEST(TevDerivedObject, FullUpdateKeepsTheDocumentInfoWhenTheObjectRequirementChanged) {
    CommandBench b;
    b.doc->setHasUpdReq(true);
    docInfo(b.doc).setPrototypeName(u"cached");
    b.host.model().addUpdOnly = [&b](TevDerivedDocument*) { b.obj->setHasUpdReq(true); };
    b.stale();
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgUpdate), 1);
    EXPECT_EQ(text(b.row().m_prototypeName), "cached");
    EXPECT_EQ(text(b.row().m_title), "new:H7");
}

TEST(TevDerivedObject, UpdateMessagesAnswerTheHostsUpdateResult) {
    CommandBench b;
    b.stale();
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgUpdateSpecial, true), 1);
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgUpdateObject, false), 1);
    EXPECT_EQ(
        b.host.log.only("updateDerivedObject"),
        (Calls{"updateDerivedObject(A1.dwg,H7,1,110)", "updateDerivedObject(A1.dwg,H7,1,000)"}));
    EXPECT_TRUE(b.host.log.only("model.addUpdOnly").empty()) << "not a full update";
    EXPECT_EQ(text(b.row().m_title), "old:H7");

    b.doc->script.updateResult = E::eStatusFailed;
    for (const int message : {E::eDlgDocManMsgUpdate, E::eDlgDocManMsgUpdateAlt,
                              E::eDlgDocManMsgUpdateSpecial, E::eDlgDocManMsgUpdateObject}) {
        SCOPED_TRACE(message);
        docInfo(b.doc);
        b.stale();
        EXPECT_EQ(send(b.obj, b.row(), message), 0);
        EXPECT_EQ(text(b.row().m_title), "stale") << "a failure leaves the row";
        EXPECT_EQ(b.host.log.only("updateDerivedObject").size(), 1U);
        const bool full = message == E::eDlgDocManMsgUpdate || message == E::eDlgDocManMsgUpdateAlt;
        EXPECT_EQ(b.doc->cachedInfo() == nullptr, full)
            << "a full update drops the document info also when it fails";
    }
}

TEST(TevDerivedObject, RefreshMessagesReReadTheStatusAndRecheckOnlyInRecheck) {
    CommandBench b;
    for (const int message : {E::eDlgDocManMsgRefresh, E::eDlgDocManMsgRefreshAlt}) {
        SCOPED_TRACE(message);
        b.obj->setStatus(E::eStatusOk);
        b.stale();
        EXPECT_EQ(send(b.obj, b.row(), message), 1);
        EXPECT_EQ(b.host.log.calls(), Calls{kA1Full});
        EXPECT_EQ(b.row().m_objectStatus, -2) << "the file is missing";
    }
    b.obj->setStatus(E::eStatusOk);
    b.stale();
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgRecheck), 1);
    EXPECT_TRUE(b.host.log.calls().empty());
    EXPECT_EQ(b.row().m_objectStatus, 0);
    EXPECT_EQ(text(b.row().m_title), "old:H7");

    b.obj->setStatus(E::eStatusRecheck);
    b.stale();
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgRecheck), 1);
    EXPECT_EQ(b.host.log.calls(), Calls{kA1Full});
    EXPECT_EQ(b.row().m_objectStatus, -2);
}

TEST(TevDerivedObject, DocumentMessagesRefreshTheDocumentInfoInAnyCase) {
    CommandBench b;
    struct Case {
        int message;
        const char* refresh;
        int result;
    };
    for (const Case& c :
         {Case{E::eDlgDocManMsgSetApprovalStatus, "refreshOldInfo(A1.dwg,4)", 1},
          Case{E::eDlgDocManMsgRefreshRevisions, "refreshOldInfo(A1.dwg,1)", 1},
          Case{E::eDlgDocManMsgCheckOn, "refreshOldInfo(A1.dwg,8)", 1},
          Case{E::eDlgDocManMsgCheckOff, "refreshOldInfo(A1.dwg,8)", 1},
          Case{E::eDlgDocManMsgSetApprovalComment, "refreshOldInfo(A1.dwg,4)", 0}}) {
        SCOPED_TRACE(c.message);
        docInfo(b.doc);
        b.row().m_newApprovalComment = u"ok by me";
        b.stale();
        EXPECT_EQ(send(b.obj, b.row(), c.message), c.result);
        EXPECT_EQ(b.host.log.calls(), Calls{c.refresh});
        EXPECT_EQ(text(b.row().m_fullDwgNo), c.result == 1 ? "refreshed" : "stale");
        EXPECT_FALSE(b.host.model().m_detailsCacheValid);
    }
    EXPECT_EQ(text(b.row().m_newApprovalComment), "ok by me");
}

TEST(TevDerivedObject, RenameDropsTheDocumentInfoAndRefillsEvenWhenItFails) {
    CommandBench b;
    docInfo(b.doc).setPrototypeName(u"cached");
    b.row().m_newName = u"B2.dwg";
    b.stale();
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgRename), 1);
    EXPECT_EQ(b.host.log.only("fillOldInfo"), Calls{"fillOldInfo(A1.dwg)"});
    EXPECT_EQ(text(b.row().m_prototypeName), "");
    EXPECT_EQ(text(b.row().m_fullDwgNo), "old");
    EXPECT_EQ(text(b.row().m_newName), "B2.dwg");
    EXPECT_EQ(text(b.doc->getFileName()), "A1.dwg") << "the rename was not supported";
}

TEST(TevDerivedObject, ReservedAndUnknownMessagesOnlyRefill) {
    CommandBench b;
    b.obj->setStatus(E::eStatusRecheck);
    for (const int message :
         {int{E::eDlgDocManMsgReserved6}, int{E::eDlgDocManMsgReserved11}, 15, 99, -1}) {
        SCOPED_TRACE(message);
        b.stale();
        EXPECT_EQ(send(b.obj, b.row(), message), 1);
        EXPECT_TRUE(b.host.log.calls().empty());
        EXPECT_EQ(text(b.row().m_title), "old:H7");
        EXPECT_EQ(b.row().m_objectStatus, 3) << "the recheck status is kept";
        EXPECT_FALSE(b.host.model().m_detailsCacheValid);
    }
}

TEST(TevDerivedObject, NoMessageWritesTheHostsInputFields) {
    CommandBench b;
    for (int message = -1; message <= 15; ++message) {
        SCOPED_TRACE(message);
        b.row().m_newName = u"B2.dwg";
        b.row().m_newApprovalComment = u"comment";
        send(b.obj, b.row(), message);
        EXPECT_EQ(text(b.row().m_newName), "B2.dwg");
        EXPECT_EQ(text(b.row().m_newApprovalComment), "comment");
    }
}

TEST(TevDerivedObject, UpdateDocManInformationsRefillsOnlyTheFirstRowOfTheObject) {
    CommandBench b;
    b.table.append(b.row());
    b.obj->setStatus(E::eStatusRecheck);
    b.table[0].m_title = b.table[1].m_title = u"stale";
    b.obj->updateDocManInformations(&b.table);
    EXPECT_EQ(text(b.table[0].m_title), "old:H7");
    EXPECT_EQ(b.table[0].m_objectStatus, -2) << "refreshed as a recheck";
    EXPECT_EQ(text(b.table[1].m_title), "stale");

    b.obj->updateDocManInformations(nullptr);
    b.obj->removeFromTable();
    b.table[0].m_title = u"stale";
    b.obj->updateDocManInformations(&b.table);
    EXPECT_EQ(text(b.table[0].m_title), "stale") << "an object not in the table";
    b.obj->removeDocManInformations(&b.table);
    EXPECT_TRUE(b.table.isEmpty());
}

TEST(TevDerivedObject, WhileTheManagerIsOpenARemovedRowStaysMarkedAndIsRefilledFirst) {
    CommandBench b;
    b.host.model().setDocumentsManagerOpen(true);
    b.obj->removeDocManInformations(&b.table);
    ASSERT_EQ(b.table.length(), 1);
    EXPECT_TRUE(b.table[0].m_removed);
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    ASSERT_EQ(b.table.length(), 2);
    EXPECT_FALSE(b.table[1].m_removed);

    b.table[0].m_title = b.table[1].m_title = u"stale";
    b.obj->updateDocManInformations(&b.table);
    EXPECT_EQ(text(b.table[0].m_title), "old:H7") << "the marked row comes first";
    EXPECT_EQ(text(b.table[1].m_title), "stale");

    b.host.model().setDocumentsManagerOpen(false);
    ASSERT_EQ(b.table.length(), 1);
    EXPECT_EQ(text(b.table[0].m_title), "stale");
}

TEST(TevDerivedObject, RemovalTakesOutEveryRowOfTheObject) {
    CommandBench b;
    TevDerivedObject* other = firstObject(b.host.addDetail(8, "..\\Details\\A2.dwg"));
    ASSERT_EQ(other->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    b.table.append(b.table[0]);
    b.table.append(b.table[0]);
    b.obj->removeDocManInformations(&b.table);
    EXPECT_EQ(objectsOf(b.table), Objects{other});
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
}

TEST(TevDerivedObjectBom, RowCategoryFollowsTheDocument) {
    Bench b;
    TevDerivedDocument* detail = b.host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* inDetail = b.host.factory.createBomObject(detail, u"B1");
    detail->addDerivedObject(inDetail, false);
    b.host.reportManager.dstvReports.insert(6);
    TevDerivedObject* dstv = firstObject(b.host.addBom(6, "..\\DSTV\\List.txt"));
    TevDerivedObject* plain = firstObject(b.host.addBom(5, "..\\BOM\\Parts.txt"));

    struct Case {
        TevDerivedObject* obj;
        int category, subCategory;
    };
    for (const Case& c : {Case{inDetail, 0, 0}, Case{dstv, 2, 0}, Case{plain, 1, 7}}) {
        SCOPED_TRACE(lumtest::nameOf(c.obj));
        TevDocManObject row;
        row.m_category = 9;
        row.m_subCategory = 7;
        c.obj->fillDocManObjectData(row);
        EXPECT_EQ((Ints{row.m_category, row.m_subCategory}), (Ints{c.category, c.subCategory}));
        b.host.model().m_detailsCacheValid = true;
        send(c.obj, row, E::eDlgDocManMsgReserved6);
        EXPECT_EQ(b.host.model().m_detailsCacheValid, c.obj != inDetail)
            << "only a detail document's command resets the details cache";
    }
}

TEST(TevDerivedObjectBom, RowShowsTheTitleTwiceAndTheModelExtractName) {
    Bench b;
    TevDerivedObject* obj = firstObject(b.host.addBom(5, "..\\BOM\\Parts.txt"));
    auto& info = objectInfo<TevDerivedObjectBomInfo>(obj);
    info.setTitle(u"Parts list");
    info.setDate(u"2024-01-02");
    info.setModelExtractKey(42);
    StructProjModelExtract extract;
    extract.m_number = 42;
    extract.m_name = u"Ground floor";
    b.host.reportManager.extracts.push_back(extract);

    TevDocManObject row;
    obj->fillDocManObjectData(row);
    EXPECT_EQ(text(row.m_title), "Parts list");
    EXPECT_EQ(text(row.m_date), "2024-01-02");
    EXPECT_EQ(text(row.m_styleName), "Parts list");
    EXPECT_EQ(text(row.m_processName), "Ground floor");

    info.setModelExtractKey(43);
    obj->fillDocManObjectData(row);
    EXPECT_EQ(text(row.m_processName), "") << "the report manager does not know the key";
    EXPECT_EQ(b.host.log.only("getModelExtract").back(), "getModelExtract(43)");

    info.setModelExtractKey(42);
    b.host.model().reportManager = nullptr;
    obj->fillDocManObjectData(row);
    EXPECT_EQ(text(row.m_processName), "") << "without a report manager";
}

TEST(TevDerivedObjectDetail, RowKeepsACategoryOfFourOrFiveSetByTheHost) {
    CommandBench b;
    for (const int kept : {4, 5}) {
        b.row().m_category = kept;
        b.row().m_subCategory = 2;
        EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgReserved6), 1);
        b.obj->updateDocManInformations(&b.table);
        EXPECT_EQ((Ints{b.row().m_category, b.row().m_subCategory}), (Ints{kept, 2}));
    }
    b.row().m_category = 3;
    b.row().m_subCategory = 2;
    send(b.obj, b.row(), E::eDlgDocManMsgReserved6);
    EXPECT_EQ((Ints{b.row().m_category, b.row().m_subCategory}), (Ints{0, -1}));
}

TEST(TevDerivedObjectDetail, RowCarriesTheDetailInfo) {
    Bench b;
    TevDerivedObject* obj = firstObject(b.host.addDetail(7, "..\\Details\\A1.dwg"));
    auto& info = objectInfo<TevDerivedObjectDetailInfo>(obj);
    info.setTitle(u"Beam B1");
    info.setDate(u"2024-03-04");
    info.setStyleName(u"Style S");
    info.setProcessDescription(u"Welding");
    info.setScale(u"1:20");
    info.setHandle(u"DH1");
    info.setLogicalObjectSelection(42);
    info.setMainPartsDetailed(tevTexts({"M1", "M2"}));
    info.setSinglePartsDetailed(tevTexts({"S1"}));
    info.setDetExternalObjectState(true);

    TevDocManObject row;
    obj->fillDocManObjectData(row);
    EXPECT_EQ((Ints{row.m_category, row.m_subCategory, row.m_logicalObjectSelection}),
              (Ints{0, -1, 42}));
    EXPECT_EQ(fields({row.m_title, row.m_date, row.m_styleName, row.m_processName, row.m_scale,
                      row.m_detailHandle}),
              (Texts{"Beam B1", "2024-03-04", "Style S", "Welding", "1:20", "DH1"}));
    EXPECT_EQ(texts(row.m_mainPartsDetailed), (Texts{"M1", "M2"}));
    EXPECT_EQ(texts(row.m_singlePartsDetailed), Texts{"S1"});
    EXPECT_TRUE(row.m_detExternalObjectState);
}

TEST(TevDerivedObjectNC, RowCategoryNamesAndInfoFollowTheSubtype) {
    Bench b;
    struct Case {
        E::eDocSubType subType;
        const char* ncName;
        int category, subCategory;
        const char* rowNcName;
        const char* rowDxfName;
    };
    const Case cases[] = {{E::eDocSubTypeDstv, "N0", 2, 1, "", ""},
                          {E::eDocSubTypeNCNamed, "N1", 2, 2, "N1", ""},
                          {E::eDocSubTypeNCDxf, "part.dxf", 3, 2, "", "part.dxf"},
                          {E::eDocSubTypeNCDxf, "part.nc", 3, -1, "", "part.nc"},
                          {E::eDocSubTypeNone, "N3", 9, 7, "", ""}};
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ncName);
        const std::string path = "NC\\P" + std::to_string(++number) + ".nc";
        TevDerivedDocument* doc = b.host.addNC(path.c_str(), c.subType, c.ncName, false);
        ASSERT_NE(doc, nullptr);
        objectInfo<TevDerivedObjectNCInfo>(firstObject(doc)).setDate(u"2024-07-08");
        TevDocManObject row;
        row.m_category = 9;
        row.m_subCategory = 7;
        firstObject(doc)->fillDocManObjectData(row);
        EXPECT_EQ((Ints{row.m_category, row.m_subCategory}), (Ints{c.category, c.subCategory}));
        EXPECT_EQ(fields({row.m_ncName, row.m_ncDxfName, row.m_title, row.m_date, row.m_styleName,
                          row.m_processName}),
                  (Texts{c.rowNcName, c.rowDxfName, "old:" + path.substr(3) + ":nc", "2024-07-08",
                         "-", "-"}));
        EXPECT_EQ(text(doc->getKey().m_ncName), c.ncName) << "the key keeps its case";
    }
}

TEST(TevDerivedDocument, FillJoinsPrefixAndDrawingNumberWithoutSeparator) {
    Bench b;
    TevDerivedDocument* doc = b.host.addDetail(7, "..\\Details\\A1.dwg");
    struct Case {
        const char16_t* number;
        const char16_t* prefix;
        const char* shown;
    };
    for (const Case& c :
         {Case{u"12", u"A-", "A-12"}, Case{u"12", u"", "12"}, Case{u"", u"A-", "A-"}}) {
        SCOPED_TRACE(c.shown);
        docInfo(doc).setDwgNo(c.number, c.prefix);
        TevDocManObject row;
        doc->fillDocManObjectData(row);
        EXPECT_EQ(text(row.m_fullDwgNo), c.shown);
        EXPECT_EQ(row.m_derivedObject, nullptr) << "the object part is not the document's";
    }
}

TEST(TevDerivedDocument, LastRevisionEntriesAreWrittenOnlyWhereTheyExist) {
    Bench b;
    TevDerivedDocument* doc = b.host.addDetail(7, "..\\Details\\A1.dwg");
    TevDocManObject row;
    row.m_revisions.append(tevTexts({"x"}));
    row.m_lastRevisionEntry1 = row.m_lastRevisionEntry2 = u"kept";
    row.m_lastRevisionEntry3 = row.m_lastRevisionEntry4 = u"kept";
    doc->fillDocManObjectData(row);
    EXPECT_TRUE(row.m_revisions.isEmpty()) << "the empty revision table is copied";
    const auto entries = [&row] {
        return fields({row.m_lastRevisionEntry1, row.m_lastRevisionEntry2, row.m_lastRevisionEntry3,
                       row.m_lastRevisionEntry4});
    };
    EXPECT_EQ(entries(), (Texts{"kept", "kept", "kept", "kept"}));

    TevDerivedDocumentInfo::RevisionTable revisions;
    revisions.append(tevTexts({"r0", "r1", "r2"}));
    docInfo(doc).setRevisions(revisions);
    doc->fillDocManObjectData(row);
    EXPECT_EQ(b.recorder.take(), (Texts{"isValid( index )", "isValid( index )"}));
    EXPECT_EQ(entries(), (Texts{"r1", "r2", "kept", "kept"}));
}

// A document A1 with two objects, H7 and H8.
struct TwoObjectBench : Bench {
    lumtest::FakeDetailDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* h7 = firstObject(doc);
    TevDerivedObject* h8 = host.factory.makeDetailObject(doc, 8, u"H8");
    TwoObjectBench() { doc->addDerivedObject(h8, false); }
};

TEST(TevDerivedDocument, AddDocManObjectsAppendsEachObjectOnce) {
    TwoObjectBench b;
    b.doc->addDocManObjects(nullptr);
    EXPECT_TRUE(b.table.isEmpty());
    b.doc->addDocManObjects(&b.table);
    b.doc->addDocManObjects(&b.table);
    EXPECT_EQ(objectsOf(b.table), (Objects{b.h7, b.h8}));
    EXPECT_EQ(b.h7->appendDocManObject(&b.table, E::eDocSubTypeAll), 0);
}

TEST(TevDerivedDocument, UpdateDocManInformationsReReadsStatusesThenRefreshesRows) {
    TwoObjectBench b;
    b.doc->addDocManObjects(&b.table);
    b.host.log.clear();
    b.doc->updateDocManInformations(&b.table);
    const Calls calls = b.host.log.calls();
    ASSERT_GE(calls.size(), 2U);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 2),
              (Calls{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)"}));
    EXPECT_EQ(b.table[0].m_objectStatus, -2) << "the re-read status, the file is missing";
    EXPECT_EQ(b.table[1].m_objectStatus, -2);
}

TEST(TevDerivedDocument, RemovalWithoutTableAndForgettingTouchNoRow) {
    TwoObjectBench b;
    b.doc->addDocManObjects(&b.table);
    b.doc->removeDocManInformations(nullptr);
    EXPECT_EQ(b.table.length(), 2);
    EXPECT_EQ(b.h7->appendDocManObject(&b.table, E::eDocSubTypeAll), 0) << "still in the table";

    b.doc->removeFromTable();
    EXPECT_EQ(objectsOf(b.table), (Objects{b.h7, b.h8}));
    EXPECT_FALSE(b.table[0].m_removed || b.table[1].m_removed);
    b.doc->addDocManObjects(&b.table);
    EXPECT_EQ(b.table.length(), 4) << "both objects appended again";

    b.doc->removeDocManInformations(&b.table);
    EXPECT_TRUE(b.table.isEmpty());
}

TEST(TevDerivedDocumentsModel, DetachingTheTableClearsEveryInTableMark) {
    Bench b;
    std::vector<TevDerivedDocument*> docs = {
        b.host.addDetail(7, "..\\Details\\A1.dwg"), b.host.addBom(5, "..\\BOM\\Parts.txt"),
        b.host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false)};
    for (TevDerivedDocument* doc : docs) {
        doc->addDocManObjects(&b.table);
    }
    EXPECT_EQ(b.host.model().setDocManObjects(nullptr), 0);
    EXPECT_EQ(b.table.length(), 3) << "no row is touched";
    EXPECT_EQ(b.host.model().setDocManObjects(&b.table), 1);
    for (TevDerivedDocument* doc : docs) {
        EXPECT_EQ(firstObject(doc)->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    }
    EXPECT_EQ(b.table.length(), 6);
}

TEST(TevDerivedDocumentsModel, OpeningOrClosingTwiceIsHarmless) {
    TwoObjectBench b;
    FakeHost& host = b.host;
    b.doc->addDocManObjects(&b.table);
    host.model().setDocumentsManagerOpen(true);
    host.model().setDocumentsManagerOpen(true);
    b.h7->removeDocManInformations(&b.table);
    EXPECT_EQ(b.table.length(), 2);
    host.model().setDocumentsManagerOpen(false);
    host.model().setDocumentsManagerOpen(false);
    EXPECT_EQ(objectsOf(b.table), Objects{b.h8});

    host.model().setDocManObjects(nullptr);
    b.table[0].m_removed = true;
    host.model().setDocumentsManagerOpen(true);
    host.model().setDocumentsManagerOpen(false);
    EXPECT_FALSE(host.model().isDocumentsManagerOpen());
    EXPECT_EQ(b.table.length(), 1) << "without a table closing only clears the flag";
}

bool pointsAtDisposedObject(const FakeHost& host, const TevDocManObject& row) {
    return row.m_derivedObject != nullptr && !host.factory.isLive(row.m_derivedObject);
}

TEST(TevDerivedDocumentsModel, DisposalsTakeTheRowsOutBeforeTheObjectsGo) {
    Bench b;
    FakeHost& host = b.host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    TevDerivedDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    TevDerivedObject* h9 = host.factory.makeDetailObject(a1, 9, u"H9");
    a1->addDerivedObject(h9, false);
    TevDocManObject hostRow;
    hostRow.m_title = u"host";
    b.table.append(hostRow);
    for (TevDerivedDocument* doc : {a1, a2, parts}) {
        doc->addDocManObjects(&b.table);
    }
    TevDerivedObject* h7 = firstObject(a1);
    ASSERT_EQ(b.table.length(), 5);

    host.model().setDocumentsManagerOpen(true);
    a1->deleteDerivedObject(h9);
    a2->reset();
    ASSERT_TRUE(host.model().removeDoc(parts->getKey()));
    EXPECT_EQ(b.table.length(), 5) << "marked while the manager is open";
    for (const TevDocManObject& row : b.table) {
        EXPECT_EQ(row.m_removed, pointsAtDisposedObject(host, row));
    }
    host.model().setDocumentsManagerOpen(false);
    EXPECT_EQ(objectsOf(b.table), (Objects{nullptr, h7}));

    a1->reset();
    EXPECT_EQ(objectsOf(b.table), Objects{nullptr}) << "erased at once while the manager is closed";
    EXPECT_EQ(text(b.table[0].m_title), "host");
}

TEST(TevDerivedDocumentsModel, DestroyingTheModelTakesEveryRowOut) {
    Bench b;
    b.host.addDetail(7, "..\\Details\\A1.dwg")->addDocManObjects(&b.table);
    b.host.addBom(5, "..\\BOM\\Parts.txt")->addDocManObjects(&b.table);
    b.table.append(TevDocManObject());
    ASSERT_EQ(b.table.length(), 3);
    b.host.destroyModel();
    EXPECT_EQ(objectsOf(b.table), Objects{nullptr});
}

} // namespace
