// Rows of the host's document-manager table: appending, filling, the commands the
// host sends for a row, refreshing and taking rows out, for objects, documents and
// the model.
#include "AllocationFailure.h"
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
#include <tuple>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::text;
using E = TevDerDocEnums;
using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;
using Ints = std::vector<int>;
using Objects = std::vector<const TevDerivedObject*>;
using Table = TevArray<TevDocManObject>;

const char* const kA1Full = "isCommandActive(C:\\Model\\DerDocs\\Details\\A1.dwg)";

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
    return dynamic_cast<Info&>(*const_cast<TevDerivedObjectInfo*>(obj->getInfo()));
}

TevArray<TevString> tevTexts(std::initializer_list<const char*> values) {
    TevArray<TevString> out;
    for (const char* value : values) {
        out.append(TevString(value));
    }
    return out;
}

// The texts of an array of texts, or of several row fields to compare them at once.
template <class Range = std::initializer_list<TevString>>
Texts texts(const Range& values) {
    Texts out;
    for (const TevString& value : values) {
        out.push_back(text(value));
    }
    return out;
}

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

// A fresh row filled for `obj`, with categories 9 and 7 so that unchanged ones show.
TevDocManObject filledRow(TevDerivedObject* obj) {
    TevDocManObject row;
    row.m_category = 9;
    row.m_subCategory = 7;
    obj->fillDocManObjectData(row);
    return row;
}

// One test's world: a host whose detail document A1 has the object H7, and the table.
// The table outlives the host, so that rows are still there while the model disposes
// of its documents, and every assertion the library reports is recorded: a test that
// expects none ends with none ("!m_alreadyInTable" among them).
struct Bench {
    lumtest::ScopedAssertionRecorder recorder;
    Table table;
    std::unique_ptr<FakeHost> owner = std::make_unique<FakeHost>();
    FakeHost& host = *owner;
    lumtest::FakeDetailDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* obj = firstObject(doc);

    Bench() { host.model().setDocManObjects(&table); }
    ~Bench() {
        owner.reset();
        EXPECT_EQ(recorder.texts(), Texts{}) << "assertions reported by the library";
    }
};

// The bench of the commands: H7 has a row.
struct CommandBench : Bench {
    TevDocManObject& row() { return table[0]; }

    CommandBench() {
        EXPECT_EQ(obj->appendDocManObject(&table, E::eDocSubTypeAll), 1);
        host.log.clear();
    }
    // Marks the row, the document info and the details cache, so that a refill, a
    // refresh or rebuild of the info and a reset of the cache show.
    void stale() {
        row().m_title = row().m_fullDwgNo = u"stale";
        row().m_objectStatus = 99;
        docInfo(doc).setDwgNo(u"cached", u"");
        host.model().m_detailsCacheValid = true;
        host.log.clear();
    }
};

// Bench with a second object H8 in A1.
struct TwoObjectBench : Bench {
    TevDerivedObject* h8 = host.factory.makeDetailObject(doc, 8, u"H8");
    TwoObjectBench() { doc->addDerivedObject(h8, false); }
};

// A detail document that runs a hook while the host updates one of its objects.
struct HookedDetail : lumtest::FakeDetailDocument {
    using lumtest::FakeDetailDocument::FakeDetailDocument;
    E::ErrorStatus updateDerivedObject(int& out, const TevString& handle, E::ObjectModification mod,
                                       bool msgWas4, bool flag, bool msgWas13) override {
        onUpdate();
        return lumtest::FakeDetailDocument::updateDerivedObject(out, handle, mod, msgWas4, flag,
                                                                msgWas13);
    }
    std::function<void()> onUpdate = [] {};
};

TEST(TevDerivedObject, AppendsOneRowWhenTheFilterMatchesUntilItsRowsAreRemovedOrForgotten) {
    Bench b;
    TevDerivedObject* named =
        firstObject(b.host.addNC("NC\\P1.nc", E::eDocSubTypeNCNamed, "N1", 0));
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeNCNamed), 0);
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 0) << "already in";
    EXPECT_EQ(named->appendDocManObject(&b.table, E::eDocSubTypeNCDxf), 0);
    EXPECT_EQ(named->appendDocManObject(&b.table, E::eDocSubTypeNCNamed), 1);

    b.obj->removeFromTable();
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1) << "after forgetting";
    EXPECT_EQ(objectsOf(b.table), (Objects{b.obj, named, b.obj})) << "forgetting touches no row";
    b.table.append(b.table[0]);
    b.obj->removeDocManInformations(&b.table);
    EXPECT_EQ(objectsOf(b.table), Objects{named}) << "every row of the object is erased";
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1) << "after a removal";
}

TEST(TevDerivedObject, RowTheTableCannotTakeLeavesTheObjectOutOfTheTable) {
    Bench b;
    {
        const lumtest::ScopedAllocationFailure noRows(0, sizeof(TevDocManObject));
        EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 0);
        EXPECT_EQ(noRows.refused(), 1);
    }
    EXPECT_EQ(b.recorder.take(), Texts{"pElements != NULL && numElements > 0"});
    EXPECT_TRUE(b.table.isEmpty());
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1)
        << "the object was not taken as being in the table";
    EXPECT_EQ(objectsOf(b.table), Objects{b.obj});
}

TEST(TevDerivedObject, FilledRowCarriesTheCommandStateAndTheDisplayStatusOrFifteenForADuplicate) {
    Bench b;
    b.host.model().commandActive = 1;
    TevDerivedObject* obj = firstObject(b.host.addDetail(9, "..\\Details\\A9.dwg"));
    // A new object is undetermined (3); the command-active value is copied.
    EXPECT_EQ((Ints{filledRow(obj).m_objectStatus, filledRow(obj).m_commandActive}), (Ints{3, 1}));
    obj->setStatus(E::eStatusFailed);
    EXPECT_EQ(filledRow(obj).m_objectStatus, -5) << "the display code of the status";
    TevArray<TevDerivedObject*> group;
    group.append(obj);
    group.append(b.obj);
    b.host.model().appendDuplicateObjects(group);
    for (const E::ErrorStatus status : {E::eStatusOk, E::eStatusFileMissing, E::eStatusFailed}) {
        obj->setStatus(status);
        EXPECT_EQ(filledRow(obj).m_objectStatus, 15) << "in a duplicate group, status " << status;
    }
}

TEST(TevDerivedObject, MessagesCallTheHostAndRefillTheRowUnlessTheirOperationFailed) {
    CommandBench b;
    b.row().m_newName = u"B2.dwg";
    b.row().m_newApprovalComment = u"ok by me";
    // Per message and object status: the host call expected, compared with all calls (A)
    // or with the calls of its name (N); the result; the row's display status and drawing
    // number: "cached" while the document info stays, "refreshed" or "old" when it was
    // refreshed or rebuilt. A failure leaves the row ("stale", 99). The flag is set for
    // messages 4 and 13.
    struct Case {
        int message;
        E::ErrorStatus status;
        bool all;
        std::string call;
        int result, shown;
        const char* dwgNo;
    };
    const E::ErrorStatus ok = E::eStatusOk, rc = E::eStatusRecheck;
    const bool A = true, N = false;
    const std::string u = "updateDerivedObject(A1.dwg,H7,1,", r = "refreshOldInfo(A1.dwg,";
    const Case cases[] = {{E::eDlgDocManMsgUpdate, ok, N, u + "000)", 1, -2, "old"},
                          {E::eDlgDocManMsgRefresh, ok, A, kA1Full, 1, -2, "cached"},
                          {E::eDlgDocManMsgRefreshAlt, ok, A, kA1Full, 1, -2, "cached"},
                          {E::eDlgDocManMsgRecheck, ok, A, "", 1, 0, "cached"},
                          {E::eDlgDocManMsgRecheck, rc, A, kA1Full, 1, -2, "cached"},
                          {E::eDlgDocManMsgUpdateSpecial, ok, N, u + "110)", 1, -2, "cached"},
                          {E::eDlgDocManMsgSetApprovalStatus, ok, A, r + "4)", 1, 0, "refreshed"},
                          {E::eDlgDocManMsgReserved6, rc, A, "", 1, 3, "cached"},
                          {E::eDlgDocManMsgRefreshRevisions, ok, A, r + "1)", 1, 0, "refreshed"},
                          {E::eDlgDocManMsgUpdateObject, ok, N, u + "000)", 1, -2, "cached"},
                          {E::eDlgDocManMsgCheckOn, ok, A, r + "8)", 1, 0, "refreshed"},
                          {E::eDlgDocManMsgCheckOff, ok, A, r + "8)", 1, 0, "refreshed"},
                          {E::eDlgDocManMsgReserved11, rc, A, "", 1, 3, "cached"},
                          {E::eDlgDocManMsgRename, ok, N, "fillOldInfo(A1.dwg)", 1, 0, "old"},
                          {E::eDlgDocManMsgUpdateAlt, ok, N, u + "011)", 1, -2, "old"},
                          {E::eDlgDocManMsgSetApprovalComment, ok, A, r + "4)", 0, 99, "stale"},
                          {15, rc, A, "", 1, 3, "cached"},
                          {99, rc, A, "", 1, 3, "cached"},
                          {-1, rc, A, "", 1, 3, "cached"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message " << c.message << ", status " << c.status);
        b.obj->setStatus(c.status);
        b.stale();
        const bool flag =
            c.message == E::eDlgDocManMsgUpdateSpecial || c.message == E::eDlgDocManMsgUpdateAlt;
        EXPECT_EQ(send(b.obj, b.row(), c.message, flag), c.result);
        EXPECT_EQ(b.host.log.only(c.all ? "" : c.call.substr(0, c.call.find('('))),
                  c.call.empty() ? Calls{} : Calls{c.call});
        EXPECT_EQ(b.row().m_objectStatus, c.shown);
        EXPECT_EQ(texts({b.row().m_title, b.row().m_fullDwgNo, b.row().m_newName,
                         b.row().m_newApprovalComment}),
                  (Texts{c.result == 1 ? "old:H7" : "stale", c.dwgNo, "B2.dwg", "ok by me"}))
            << "the host's input fields are never written";
        EXPECT_FALSE(b.host.model().m_detailsCacheValid) << "a detail's cache is reset";
    }
    EXPECT_EQ(text(b.doc->getFileName()), "A1.dwg") << "the rename was not supported";

    b.doc->script.updateResult = E::eStatusFailed;
    for (const int message : {E::eDlgDocManMsgUpdate, E::eDlgDocManMsgUpdateAlt,
                              E::eDlgDocManMsgUpdateSpecial, E::eDlgDocManMsgUpdateObject}) {
        SCOPED_TRACE(message);
        b.stale();
        EXPECT_EQ(send(b.obj, b.row(), message), 0);
        EXPECT_EQ(text(b.row().m_title), "stale") << "a failure leaves the row";
        EXPECT_EQ(b.host.log.only("updateDerivedObject").size(), 1U);
        const bool full = message == E::eDlgDocManMsgUpdate || message == E::eDlgDocManMsgUpdateAlt;
        EXPECT_EQ(b.doc->cachedInfo() == nullptr, full)
            << "a full update drops the document info also when it fails";
    }
}

TEST(TevDerivedObject, FullUpdateCallsTheHostInOrderAndKeepsTheDocumentInfoOnlyIfItsNeedChanged) {
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
    EXPECT_EQ(texts({b.row().m_title, b.row().m_fullDwgNo, b.row().m_prototypeName}),
              (Texts{"old:H7", "new", ""}))
        << "the document info was rebuilt";

    docInfo(b.doc).setPrototypeName(u"cached");
    b.host.model().addUpdOnly = [&b](TevDerivedDocument*) { b.obj->setHasUpdReq(true); };
    b.stale();
    EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgUpdate), 1);
    EXPECT_EQ(texts({b.row().m_prototypeName, b.row().m_title}), (Texts{"cached", "new:H7"}))
        << "the object's update requirement changed: the document info stays";
}

TEST(TevDerivedObject, FullUpdateRunsTheUpdateOnlyHookOnlyWhileTheDocumentNeedsAnUpdate) {
    Bench b;
    HookedDetail doc(b.host.log, b.host.factory, &b.host.model(), 7, u"..\\Details\\A1.dwg");
    TevDerivedObject* obj = b.host.factory.makeDetailObject(&doc, 7, u"H7");
    doc.addDerivedObject(obj, false);
    ASSERT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1);
    // The document's need before and after the host's update; with none before, only
    // the document's own switch calls the hook (flags 00, not the update's 01).
    for (const auto& [before, after, calls] :
         {std::tuple{true, false, Calls{}},
          {false, true, Calls{"model.addUpdOnlyDerivedObjects(A1.dwg,00)"}},
          {true, true, Calls{"model.addUpdOnlyDerivedObjects(A1.dwg,01)"}}}) {
        SCOPED_TRACE(testing::Message() << "before " << before << ", after " << after);
        doc.setHasUpdReq(before);
        doc.onUpdate = [&doc, now = after] { doc.setHasUpdReq(now); };
        b.host.log.clear();
        EXPECT_EQ(send(obj, b.table[0], E::eDlgDocManMsgUpdate), 1);
        EXPECT_EQ(b.host.log.only("model.addUpdOnly"), calls);
    }
    obj->removeDocManInformations(&b.table);
}

TEST(TevDerivedObject, UpdateDocManInformationsRefillsOnlyTheFirstRowOfTheObjectMarkedOrNot) {
    CommandBench b;
    b.table.append(b.row());
    b.obj->setStatus(E::eStatusRecheck);
    b.table[0].m_title = b.table[1].m_title = u"stale";
    b.obj->updateDocManInformations(&b.table);
    EXPECT_EQ(texts({b.table[0].m_title, b.table[1].m_title}), (Texts{"old:H7", "stale"}));
    EXPECT_EQ(b.table[0].m_objectStatus, -2) << "refreshed as a recheck";

    b.obj->updateDocManInformations(nullptr);
    b.obj->removeFromTable();
    b.table[0].m_title = u"stale";
    b.obj->updateDocManInformations(&b.table);
    EXPECT_EQ(text(b.table[0].m_title), "stale") << "an object not in the table";

    b.host.model().setDocumentsManagerOpen(true);
    b.obj->removeDocManInformations(&b.table);
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1) << "while marked";
    ASSERT_EQ(b.table.length(), 3);
    b.table[2].m_title = u"stale";
    b.obj->updateDocManInformations(&b.table);
    EXPECT_EQ(texts({b.table[0].m_title, b.table[2].m_title}), (Texts{"old:H7", "stale"}))
        << "the marked row comes first";
    b.host.model().setDocumentsManagerOpen(false);
    EXPECT_EQ(objectsOf(b.table), Objects{b.obj}) << "the two marked rows are erased";
}

TEST(TevDerivedObjectBom, RowShowsTheCategoryOfItsDocumentTheTitleTwiceAndTheModelExtract) {
    Bench b;
    TevDerivedObject* inDetail = b.host.factory.createBomObject(b.doc, u"B1");
    b.doc->addDerivedObject(inDetail, false);
    b.host.reportManager.dstvReports.insert(6);
    TevDerivedObject* dstv = firstObject(b.host.addBom(6, "..\\DSTV\\List.txt"));
    TevDerivedObject* plain = firstObject(b.host.addBom(5, "..\\BOM\\Parts.txt"));
    for (const auto& [obj, category, subCategory] :
         {std::tuple{inDetail, 0, 0}, {dstv, 2, 0}, {plain, 1, 7}}) {
        SCOPED_TRACE(lumtest::nameOf(obj));
        TevDocManObject row = filledRow(obj);
        EXPECT_EQ((Ints{row.m_category, row.m_subCategory}), (Ints{category, subCategory}));
        b.host.model().m_detailsCacheValid = true;
        send(obj, row, E::eDlgDocManMsgReserved6);
        EXPECT_EQ(b.host.model().m_detailsCacheValid, obj != inDetail)
            << "only a detail document's command resets the details cache";
    }

    auto& info = objectInfo<TevDerivedObjectBomInfo>(plain);
    info.setTitle(u"Parts list");
    info.setDate(u"2024-01-02");
    info.setModelExtractKey(42);
    b.host.reportManager.extracts.push_back({42, u"Ground floor"});
    TevDocManObject row;
    plain->fillDocManObjectData(row);
    EXPECT_EQ(texts({row.m_title, row.m_date, row.m_styleName, row.m_processName}),
              (Texts{"Parts list", "2024-01-02", "Parts list", "Ground floor"}));
    info.setModelExtractKey(43);
    plain->fillDocManObjectData(row);
    EXPECT_EQ(text(row.m_processName), "") << "the report manager does not know the key";
    EXPECT_EQ(b.host.log.only("getModelExtract").back(), "getModelExtract(43)");
    info.setModelExtractKey(42);
    b.host.reportManager.foundExtractAnswer = 2;
    plain->fillDocManObjectData(row);
    EXPECT_EQ(text(row.m_processName), "") << "only an answer of 1 means found";
    row.m_processName = u"stale";
    b.host.model().reportManager = nullptr;
    plain->fillDocManObjectData(row);
    EXPECT_EQ(text(row.m_processName), "") << "without a report manager";
}

TEST(TevDerivedObjectDetail, RowCarriesTheDetailInfoAndKeepsACategoryOfFourOrFive) {
    CommandBench b;
    auto& info = objectInfo<TevDerivedObjectDetailInfo>(b.obj);
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
    const TevDocManObject row = filledRow(b.obj);
    EXPECT_EQ((Ints{row.m_category, row.m_subCategory, row.m_logicalObjectSelection}),
              (Ints{0, -1, 42}));
    EXPECT_EQ(texts({row.m_title, row.m_date, row.m_styleName, row.m_processName, row.m_scale,
                     row.m_detailHandle}),
              (Texts{"Beam B1", "2024-03-04", "Style S", "Welding", "1:20", "DH1"}));
    EXPECT_EQ(texts(row.m_mainPartsDetailed), (Texts{"M1", "M2"}));
    EXPECT_EQ(texts(row.m_singlePartsDetailed), Texts{"S1"});
    EXPECT_TRUE(row.m_detExternalObjectState);

    for (const int category : {4, 5, 3}) {
        b.row().m_category = category;
        b.row().m_subCategory = 2;
        EXPECT_EQ(send(b.obj, b.row(), E::eDlgDocManMsgReserved6), 1);
        b.obj->updateDocManInformations(&b.table);
        EXPECT_EQ((Ints{b.row().m_category, b.row().m_subCategory}),
                  (category == 3 ? Ints{0, -1} : Ints{category, 2}))
            << "category set by the host: " << category;
    }
}

TEST(TevDerivedObjectNC, RowCategoryNamesAndInfoFollowTheSubtype) {
    Bench b;
    int number = 0;
    // The subtype and NC name of the document; the row's categories, NC and DXF names.
    for (const auto& [subType, ncName, category, subCategory, rowNcName, rowDxfName] :
         {std::tuple{E::eDocSubTypeDstv, "N0", 2, 1, "", ""},
          {E::eDocSubTypeNCNamed, "N1", 2, 2, "N1", ""},
          {E::eDocSubTypeNCDxf, "part.dxf", 3, 2, "", "part.dxf"},
          {E::eDocSubTypeNCDxf, "part.nc", 3, -1, "", "part.nc"},
          {E::eDocSubTypeNone, "N3", 9, 7, "", ""}}) {
        SCOPED_TRACE(ncName);
        const std::string path = "NC\\P" + std::to_string(++number) + ".nc";
        TevDerivedDocument* doc = b.host.addNC(path.c_str(), subType, ncName, false);
        ASSERT_NE(doc, nullptr);
        objectInfo<TevDerivedObjectNCInfo>(firstObject(doc)).setDate(u"2024-07-08");
        const TevDocManObject row = filledRow(firstObject(doc));
        EXPECT_EQ((Ints{row.m_category, row.m_subCategory}), (Ints{category, subCategory}));
        EXPECT_EQ(texts({row.m_ncName, row.m_ncDxfName, row.m_title, row.m_date, row.m_styleName,
                         row.m_processName}),
                  (Texts{rowNcName, rowDxfName, "old:" + path.substr(3) + ":nc", "2024-07-08", "-",
                         "-"}));
        EXPECT_EQ(text(doc->getKey().m_ncName), ncName) << "the key keeps its case";
    }
}

TEST(TevDerivedDocument, FillWritesTheDocumentPartAndOnlyExistingRevisionEntries) {
    Bench b;
    TevDerivedDocumentInfo& info = docInfo(b.doc);
    info.setApprovalDate(u"2024-05-06");
    info.setApprovalComment(u"fine");
    info.setApprovalStatusIndex(3);
    info.setCheckStatus(2);
    info.setLastRevIdx(u"B");
    info.setPrototypeName(u"Std");
    TevDocManObject row;
    row.m_revisions.append(tevTexts({"x"}));
    row.m_lastRevisionEntry1 = row.m_lastRevisionEntry2 = u"kept";
    row.m_lastRevisionEntry3 = row.m_lastRevisionEntry4 = u"kept";
    for (const auto& [number, prefix, shown] :
         {std::tuple{u"12", u"A-", "A-12"}, {u"12", u"", "12"}, {u"", u"A-", "A-"}}) {
        info.setDwgNo(number, prefix);
        b.doc->fillDocManObjectData(row);
        EXPECT_EQ(text(row.m_fullDwgNo), shown) << "prefix and number joined";
    }
    EXPECT_EQ(texts({row.m_fileName, row.m_path, row.m_approvalDate, row.m_approvalComment,
                     row.m_lastRevIdx, row.m_prototypeName}),
              (Texts{"A1.dwg", "C:\\Model\\DerDocs\\Details\\", "2024-05-06", "fine", "B", "Std"}));
    EXPECT_EQ((Ints{row.m_approvalStatusIndex, row.m_checkStatus}), (Ints{3, 2}));
    EXPECT_EQ(row.m_derivedObject, nullptr) << "the object part is not the document's";
    EXPECT_TRUE(row.m_revisions.isEmpty()) << "the empty revision table is copied";
    const auto entries = [&row] {
        return texts({row.m_lastRevisionEntry1, row.m_lastRevisionEntry2, row.m_lastRevisionEntry3,
                      row.m_lastRevisionEntry4});
    };
    EXPECT_EQ(entries(), (Texts{"kept", "kept", "kept", "kept"}));

    TevDerivedDocumentInfo::RevisionTable revisions;
    revisions.append(tevTexts({"a0", "a1", "a2", "a3", "a4"}));
    revisions.append(tevTexts({"b0", "b1", "b2", "b3", "b4", "b5"}));
    info.setRevisions(revisions);
    b.doc->fillDocManObjectData(row);
    EXPECT_EQ(row.m_revisions.length(), 2);
    EXPECT_EQ(entries(), (Texts{"b1", "b2", "b3", "b4"})) << "from the last revision";

    revisions.append(tevTexts({"r0", "r1", "r2"}));
    info.setRevisions(revisions);
    b.doc->fillDocManObjectData(row);
    EXPECT_EQ(b.recorder.take(), (Texts{"isValid( index )", "isValid( index )"}));
    EXPECT_EQ(entries(), (Texts{"r1", "r2", "b3", "b4"}));
}

TEST(TevDerivedDocument, AddsRefreshesRemovesAndForgetsTheRowsOfAllItsObjects) {
    TwoObjectBench b;
    b.doc->addDocManObjects(nullptr);
    EXPECT_TRUE(b.table.isEmpty());
    b.doc->addDocManObjects(&b.table);
    b.doc->addDocManObjects(&b.table);
    EXPECT_EQ(objectsOf(b.table), (Objects{b.obj, b.h8})) << "each object once";

    b.host.log.clear();
    b.doc->updateDocManInformations(&b.table);
    const Calls calls = b.host.log.calls();
    ASSERT_GE(calls.size(), 2U);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 2),
              (Calls{"checkDerivedObjects(A1.dwg,11)", "beginGetUpdateAllDerObjs(A1.dwg)"}));
    EXPECT_EQ((Ints{b.table[0].m_objectStatus, b.table[1].m_objectStatus}), (Ints{-2, -2}))
        << "the re-read status, the file is missing";

    b.doc->removeDocManInformations(nullptr);
    EXPECT_EQ(b.obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 0) << "still in the table";
    b.doc->removeFromTable();
    EXPECT_EQ(objectsOf(b.table), (Objects{b.obj, b.h8})) << "forgetting touches no row";
    EXPECT_FALSE(b.table[0].m_removed || b.table[1].m_removed);
    b.doc->addDocManObjects(&b.table);
    EXPECT_EQ(b.table.length(), 4) << "both objects appended again";
    b.doc->removeDocManInformations(&b.table);
    EXPECT_TRUE(b.table.isEmpty());
}

TEST(TevDerivedDocumentsModel,
     DetachingClearsInTableMarksAndClosingWithoutATableOrOpeningTwiceIsHarmless) {
    TwoObjectBench b;
    lumtest::FakeModel& model = b.host.model();
    TevDerivedDocument* parts = b.host.addBom(5, "..\\BOM\\Parts.txt");
    b.doc->addDocManObjects(&b.table);
    parts->addDocManObjects(&b.table);
    model.setDocumentsManagerOpen(true);
    model.setDocumentsManagerOpen(true);
    b.obj->removeDocManInformations(&b.table);
    EXPECT_EQ(b.table.length(), 3) << "still marking after opening twice";
    model.setDocumentsManagerOpen(false);
    EXPECT_EQ(objectsOf(b.table), (Objects{b.h8, firstObject(parts)}));

    model.setDocManObjects(nullptr);
    b.table[0].m_removed = true;
    model.setDocumentsManagerOpen(true);
    model.setDocumentsManagerOpen(false);
    EXPECT_FALSE(model.isDocumentsManagerOpen());
    EXPECT_EQ(b.table.length(), 2);
    model.setDocManObjects(&b.table);
    for (TevDerivedObject* obj : {b.h8, firstObject(parts)}) {
        EXPECT_EQ(obj->appendDocManObject(&b.table, E::eDocSubTypeAll), 1)
            << "detaching cleared every in-table mark";
    }
}

TEST(TevDerivedDocumentsModel, DisposalsAndDestructionTakeTheRowsOutBeforeTheObjectsGo) {
    Bench b;
    FakeHost& host = b.host;
    TevDerivedDocument* a2 = host.addDetail(8, "..\\Details\\A2.dwg");
    TevDerivedDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    b.table.append(TevDocManObject());
    for (TevDerivedDocument* doc : {static_cast<TevDerivedDocument*>(b.doc), a2, parts}) {
        doc->addDocManObjects(&b.table);
    }
    host.model().setDocumentsManagerOpen(true);
    a2->reset();
    ASSERT_TRUE(host.model().removeDoc(parts->getKey()));
    ASSERT_EQ(b.table.length(), 4) << "marked while the manager is open";
    for (const TevDocManObject& row : b.table) {
        EXPECT_EQ(row.m_removed,
                  row.m_derivedObject != nullptr && !host.factory.isLive(row.m_derivedObject));
    }
    host.model().setDocumentsManagerOpen(false);
    EXPECT_EQ(objectsOf(b.table), (Objects{nullptr, b.obj}));

    host.destroyModel();
    EXPECT_EQ(objectsOf(b.table), Objects{nullptr}) << "the host's own row stays";
}

} // namespace

namespace {

TEST(TevDerivedObject, WithoutADocumentAnswersZeroInsteadOfCrashing) {
    lumtest::CallLog log;
    lumtest::FakeDetailObject orphan(log, "orphan", nullptr, 5, u"H5");
    TevArray<TevDocManObject> table;
    EXPECT_EQ(orphan.appendDocManObject(&table, E::eDocSubTypeAll), 0);
    EXPECT_TRUE(table.isEmpty());
    TevDocManObject row;
    int out = 0;
    EXPECT_EQ(orphan.updateDocManObject(row, E::eDlgDocManMsgUpdate, false, out, 0), 0);
    EXPECT_EQ(orphan.updateObject(out, E::eDlgDocManMsgUpdate, E::eObjectModified, false),
              E::eStatusNotSupported);
    TevDocumentApproval approval;
    EXPECT_EQ(orphan.getDocumentApproval(approval), 0);
    EXPECT_EQ(orphan.setCheckDocumentStatus(1), E::eStatusNotSupported);
    EXPECT_EQ(orphan.getUpdate(), E::eStatusUndetermined);
    EXPECT_TRUE(orphan.getTitle().isEmpty());
    EXPECT_TRUE(log.calls().empty()) << "nothing reaches a host";
}

} // namespace
