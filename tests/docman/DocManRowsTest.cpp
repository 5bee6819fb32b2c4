// The host's document-manager table: appending, refreshing and taking out the rows of
// objects and documents, the commands the host sends for a row, and the model's
// attach, open and close.
#include "FakeHost.h"

#include <algorithm>

namespace {

using namespace lumtest;

const std::string kA1Full = "isCommandActive(C:\\Model\\DerDocs\\Details\\A1.dwg)";

int send(TevDerivedObject* obj, TevDocManObject& row, int message, bool flag = false) {
    int out = 0;
    return obj->updateDocManObject(row, message, flag, out, 2);
}

// A detail document that runs a hook while the host updates one of its objects and
// records the commands it takes.
struct HookedDetail : FakeDetailDocument {
    HookedDetail(FakeHost& host)
        : FakeDetailDocument(host.log, host.factory, &host.model(), 7, u"..\\Details\\A1.dwg")
        , m_log(host.log) {}
    E::ErrorStatus updateDerivedObject(int& out, const TevString& handle, E::ObjectModification mod,
                                       bool msgWas4, bool flag, bool msgWas13) override {
        onUpdate();
        return FakeDetailDocument::updateDerivedObject(out, handle, mod, msgWas4, flag, msgWas13);
    }
    E::ErrorStatus setCheckDocumentStatus(int status) override {
        m_log.add("setCheckDocumentStatus", status);
        return E::eStatusOk;
    }
    E::ErrorStatus renameDoc(const TevString& name) override {
        m_log.add("renameDoc", name);
        return E::eStatusOk;
    }
    std::function<void()> onUpdate = [] {};
    CallLog& m_log;
};

// A host whose detail document A1 has the object H7, and the table. The table outlives
// the host, so that rows are still there while the model disposes of its documents,
// and every assertion the library reports is recorded: a test that expects none ends
// with none ("!m_alreadyInTable" among them).
class DocManRows : public testing::Test {
protected:
    DocManRows() { host.model().setDocManObjects(&table); }
    ~DocManRows() override {
        owner.reset();
        // assertions reported by the library
        EXPECT_EQ(recorder.texts(), Texts{});
    }
    // The objects of the rows ("gone" once disposed of), marked ones with a '*' and, if
    // asked for, those whose title is not "stale" with a '+'.
    std::string rows(bool refreshed = false) {
        Texts out;
        for (const TevDocManObject& row : table) {
            const TevDerivedObject* o = row.m_derivedObject;
            out.push_back((o == nullptr || host.factory.isLive(o) ? nameOf(o) : "gone") +
                          (row.m_removed ? "*" : "") +
                          (refreshed && row.m_title != TevString(u"stale") ? "+" : ""));
        }
        return joined(out);
    }
    // Marks the row, the document info and the details cache, so that a refill, a
    // refresh or rebuild of the info and a reset of the cache show.
    void stale(TevDocManObject& row) {
        row.m_title = row.m_fullDwgNo = u"stale";
        row.m_objectStatus = 99;
        const_cast<TevDerivedDocumentInfo*>(doc->getInfo())->setDwgNo(u"cached", u"");
        host.model().m_detailsCacheValid = true;
        host.log.clear();
    }

    ScopedAssertionRecorder recorder;
    TevArray<TevDocManObject> table;
    std::unique_ptr<FakeHost> owner = std::make_unique<FakeHost>();
    FakeHost& host = *owner;
    FakeDetailDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedObject* obj = doc->objects()[0];
};

TEST_F(DocManRows, MessagesCallTheHostAndRefillTheRowUnlessTheirOperationFailed) {
    // Another subtype, then once only (a braced list is evaluated from left to right).
    EXPECT_EQ(joined({std::to_string(obj->appendDocManObject(&table, E::eDocSubTypeNCNamed)),
                      std::to_string(obj->appendDocManObject(&table, E::eDocSubTypeAll)),
                      std::to_string(obj->appendDocManObject(&table, E::eDocSubTypeAll))}),
              "0 1 0");
    TevDocManObject& row = table[0];
    row.m_newName = u"B2.dwg";
    row.m_newApprovalComment = u"ok by me";
    // Per message and object status: the host call expected, compared with all calls (A)
    // or with the calls of its name (N); the result; the row's display status, title and
    // drawing number: "cached" while the document info stays, "refreshed" or "old" when
    // it was refreshed or rebuilt. A failure leaves the row ("stale", 99). The flag is
    // set for messages 4 and 13.
    const E::ErrorStatus ok = E::eStatusOk, rc = E::eStatusRecheck;
    const bool A = true, N = false;
    const std::string u = "updateDerivedObject(A1.dwg,H7,1,", r = "refreshOldInfo(A1.dwg,";
    const std::tuple<int, E::ErrorStatus, bool, std::string, int, const char*> cases[] = {
        {E::eDlgDocManMsgUpdate, ok, N, u + "000)", 1, "-2|old:H7|old"},
        {E::eDlgDocManMsgRefresh, ok, A, kA1Full, 1, "-2|old:H7|cached"},
        {E::eDlgDocManMsgRefreshAlt, ok, A, kA1Full, 1, "-2|old:H7|cached"},
        {E::eDlgDocManMsgRecheck, ok, A, "", 1, "0|old:H7|cached"},
        {E::eDlgDocManMsgRecheck, rc, A, kA1Full, 1, "-2|old:H7|cached"},
        {E::eDlgDocManMsgUpdateSpecial, ok, N, u + "110)", 1, "-2|old:H7|cached"},
        {E::eDlgDocManMsgSetApprovalStatus, ok, A, r + "4)", 1, "0|old:H7|refreshed"},
        {E::eDlgDocManMsgReserved6, rc, A, "", 1, "3|old:H7|cached"},
        {E::eDlgDocManMsgRefreshRevisions, ok, A, r + "1)", 1, "0|old:H7|refreshed"},
        {E::eDlgDocManMsgUpdateObject, ok, N, u + "000)", 1, "-2|old:H7|cached"},
        {E::eDlgDocManMsgCheckOn, ok, A, r + "8)", 1, "0|old:H7|refreshed"},
        {E::eDlgDocManMsgCheckOff, ok, A, r + "8)", 1, "0|old:H7|refreshed"},
        {E::eDlgDocManMsgReserved11, rc, A, "", 1, "3|old:H7|cached"},
        {E::eDlgDocManMsgRename, ok, N, "fillOldInfo(A1.dwg)", 1, "0|old:H7|old"},
        {E::eDlgDocManMsgUpdateAlt, ok, N, u + "011)", 1, "-2|old:H7|old"},
        {E::eDlgDocManMsgSetApprovalComment, ok, A, r + "4)", 0, "99|stale|stale"},
        {15, rc, A, "", 1, "3|old:H7|cached"},
        {99, rc, A, "", 1, "3|old:H7|cached"},
        {-1, rc, A, "", 1, "3|old:H7|cached"}};
    for (const auto& [message, status, all, call, result, shown] : cases) {
        SCOPED_TRACE(testing::Message() << "message " << message << ", status " << status);
        obj->setStatus(status);
        stale(row);
        const bool flag =
            message == E::eDlgDocManMsgUpdateSpecial || message == E::eDlgDocManMsgUpdateAlt;
        EXPECT_EQ(send(obj, row, message, flag), result);
        EXPECT_EQ(joined(host.log.only(all ? "" : call.substr(0, call.find('(')))), call);
        // the host's input fields are never written
        EXPECT_EQ(
            joined({std::to_string(row.m_objectStatus), text(row.m_title), text(row.m_fullDwgNo),
                    text(row.m_newName), text(row.m_newApprovalComment)},
                   "|"),
            shown + std::string("|B2.dwg|ok by me"));
        // a detail's cache is reset
        EXPECT_FALSE(host.model().m_detailsCacheValid);
    }
    // the rename was not supported
    EXPECT_EQ(text(doc->getFileName()), "A1.dwg");
    // In a group of duplicates the row shows 15; the command state is read again.
    TevArray<TevDerivedObject*> pair;
    pair.append(obj);
    pair.append(host.addObject(doc, 8));
    host.model().appendDuplicateObjects(pair);
    host.model().commandActive = 1;
    send(obj, row, E::eDlgDocManMsgRefresh);
    EXPECT_EQ(std::to_string(row.m_objectStatus) + "/" + std::to_string(row.m_commandActive),
              "15/1");

    doc->script.updateResult = E::eStatusFailed;
    for (const int message : {E::eDlgDocManMsgUpdate, E::eDlgDocManMsgUpdateAlt,
                              E::eDlgDocManMsgUpdateSpecial, E::eDlgDocManMsgUpdateObject}) {
        SCOPED_TRACE(message);
        stale(row);
        EXPECT_EQ(send(obj, row, message), 0);
        // a failure leaves the row
        EXPECT_EQ(text(row.m_title) + std::to_string(host.log.only("updateDerivedObject").size()),
                  "stale1");
        // a full update drops the document info also when it fails
        EXPECT_EQ(doc->cachedInfo() == nullptr,
                  message == E::eDlgDocManMsgUpdate || message == E::eDlgDocManMsgUpdateAlt);
    }
    TevDocManObject bomRow;
    host.model().m_detailsCacheValid = true;
    send(host.addBom(5, "..\\BOM\\Parts.txt")->objects()[0], bomRow, E::eDlgDocManMsgReserved6);
    // only a detail's message resets it
    EXPECT_TRUE(host.model().m_detailsCacheValid);
    EXPECT_EQ(host.model().setDocManObjects(nullptr), 0);
    EXPECT_EQ(host.model().setDocManObjects(&table), 1);
}

TEST_F(DocManRows, FullUpdateCallsTheHostInOrderAndRunsTheUpdateOnlyHookWhileItIsNeeded) {
    HookedDetail hooked(host);
    TevDerivedObject* h7 = host.addObject(&hooked, 7);
    TevDerivedObject* updOnly = host.addObject(&hooked, 8, u"U8", true);
    ASSERT_EQ(h7->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    TevDocManObject& row = table[0];
    const auto info = [&hooked] { return const_cast<TevDerivedDocumentInfo*>(hooked.getInfo()); };
    hooked.setHasUpdReq(true);
    info()->setPrototypeName(u"cached");
    host.log.clear();
    int out = 5;
    EXPECT_EQ(h7->updateDocManObject(row, E::eDlgDocManMsgUpdate, false, out, 0), 1);
    // the out value reaches the host
    EXPECT_EQ(out, 6);
    // Only the update-only object is re-read, and between the same calls.
    EXPECT_EQ(host.log.only("beginCheck").size() * 10 +
                  (updOnly->getUpdateFast() == E::eStatusFileMissing),
              21U);
    const std::string check = " beginCheckDerivedObjects " + kA1Full + " endCheckDerivedObjects",
                      first =
                          "updateDerivedObject(A1.dwg,H7,1,000) checkDerivedObjects(A1.dwg,11)" +
                          check + " model.addUpdOnlyDerivedObjects(A1.dwg,01)" + check;
    EXPECT_EQ(joined(host.log.calls()).substr(0, first.size()), first);
    // the document info was rebuilt
    EXPECT_EQ(joined({text(row.m_title), text(row.m_fullDwgNo), text(row.m_prototypeName)}, "|"),
              "old:H7|new|");

    info()->setPrototypeName(u"cached");
    host.model().addUpdOnly = [h7](TevDerivedDocument*) { h7->setHasUpdReq(true); };
    EXPECT_EQ(send(h7, row, E::eDlgDocManMsgUpdate), 1);
    // the object's update requirement changed: the document info stays
    EXPECT_EQ(text(row.m_prototypeName) + "|" + text(row.m_title), "cached|new:H7");

    // The document's need before and after the host's update; with none before, only
    // the document's own switch calls the hook (flags 00, not the update's 01).
    for (const auto& [before, after, hook] :
         {std::tuple{true, false, ""},
          {false, true, "model.addUpdOnlyDerivedObjects(A1.dwg,00)"}}) {
        SCOPED_TRACE(testing::Message() << "before " << before << ", after " << after);
        hooked.setHasUpdReq(before);
        hooked.onUpdate = [&hooked, now = after] { hooked.setHasUpdReq(now); };
        host.log.clear();
        EXPECT_EQ(send(h7, row, E::eDlgDocManMsgUpdate), 1);
        EXPECT_EQ(joined(host.log.only("model.addUpdOnly")), hook);
    }
    host.log.clear();
    row.m_newName = u"B2.dwg";
    for (const int message :
         {E::eDlgDocManMsgCheckOn, E::eDlgDocManMsgCheckOff, E::eDlgDocManMsgRename}) {
        send(h7, row, message);
    }
    EXPECT_EQ(joined(host.log.only("setCheck")) + " " + joined(host.log.only("renameDoc")),
              "setCheckDocumentStatus(1) setCheckDocumentStatus(0) renameDoc(B2.dwg)");
    h7->removeDocManInformations(&table);
}

// The library finds an object's rows through an index it keeps per table. Whatever the
// host does to the table between two library calls, the rows refreshed, marked or erased
// are those a scan from the start would find. Each case builds the index first (a full
// refresh), marks every title stale, changes the table as a host may, and then runs one
// library operation; '+' shows a refreshed row, '*' a marked one.
TEST_F(DocManRows, RowsFoundAreThoseAScanFindsWhateverTheHostDidToTheTable) {
    using Change = std::function<void(TevArray<TevDocManObject>&, TevDerivedObject * h8)>;
    struct Case {
        const char* name;
        Change change;
        bool managerOpen;
        const char* operation; // "refresh", "refresh all", "remove" (of H7)
        const char* rows;
    };
    const auto front = [](TevArray<TevDocManObject>& t, int from) { // a copy of t[from]
        t.append(t[from]);
        std::rotate(t.begin(), t.end() - 1, t.end());
    };
    const Case cases[] = {
        {"sorted backwards", [](auto& t, auto) { std::swap(t[0], t[2]); }, false, "refresh",
         "H9 H8 H7+"},
        {"copy in front", [&](auto& t, auto) { front(t, 2); }, false, "refresh all",
         "H9+ H7+ H8+ H9"},
        {"re-pointed to", [](auto& t, auto h8) { t[0].m_derivedObject = h8; }, false, "refresh all",
         "H8+ H8 H9+"},
        {"re-pointed away", [](auto& t, auto) { t[1].m_derivedObject = t[2].m_derivedObject; },
         false, "refresh all", "H7+ H9+ H9"},
        {"erased", [](auto& t, auto) { t.removeAt(0); }, false, "refresh all", "H8+ H9+"},
        {"copied behind", [](auto& t, auto) { t.append(t[0]); }, true, "remove", "H7* H8 H9 H7*"},
        {"copied behind", [](auto& t, auto) { t.append(t[0]); }, false, "remove", "H8 H9"},
        {"copy in front", [&](auto& t, auto) { front(t, 0); }, false, "remove", "H8 H9"},
        {"moved out and back", [](auto& t, auto) { t = TevArray<TevDocManObject>(t); }, true,
         "remove", "H7* H8 H9"},
    };
    TevDerivedObject* h8 = host.addObject(doc, 8);
    host.addObject(doc, 8, u"H9");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", " + c.operation);
        table.setLength(0);
        doc->removeFromTable();
        doc->addDocManObjects(&table);
        host.model().setDocumentsManagerOpen(c.managerOpen);
        TevDocManObject* const stored = table.begin();
        doc->updateDocManInformations(&table); // the index now stands
        for (int index = 0; index < 3; ++index) {
            stored[index].m_title = u"stale"; // through a pointer taken before: not counted
        }
        c.change(table, h8);
        const std::string operation = c.operation;
        if (operation == "refresh") {
            obj->updateDocManInformations(&table);
        } else if (operation == "refresh all") {
            doc->updateDocManInformations(&table);
        } else {
            obj->removeDocManInformations(&table);
        }
        EXPECT_EQ(rows(true), c.rows);
        host.model().setDocumentsManagerOpen(false);
    }

    // Another table, handed in or attached after the first, is indexed on its own, and
    // so is the first again.
    TevArray<TevDocManObject> second;
    second.append(table[1]);
    second.append(table[0]);
    for (TevArray<TevDocManObject>* attached : {&table, &second}) {
        host.model().setDocManObjects(attached);
        second[0].m_title = second[1].m_title = u"stale";
        h8->updateDocManInformations(&second);
        EXPECT_EQ(text(second[0].m_title) + "|" + text(second[1].m_title), "stale|old:H8");
    }
    host.model().setDocManObjects(&table);
    table[0].m_title = u"stale";
    h8->updateDocManInformations(&table);
    EXPECT_EQ(rows() + "|" + text(table[0].m_title), "H8 H9|old:H8");

    // Rows are found through the index, not by a scan: a row re-pointed through a pointer
    // taken before the index was built is not seen, as the model's header says.
    TevDocManObject* const taken = table.begin();
    h8->updateDocManInformations(&table);
    taken[0].m_derivedObject = taken[1].m_derivedObject;
    taken[0].m_title = taken[1].m_title = u"stale";
    taken[1].m_derivedObject->updateDocManInformations(&table);
    EXPECT_EQ(text(table[0].m_title) + "|" + text(table[1].m_title), "stale|old:H9");
    table[0].m_derivedObject = h8;

    // A host call made while a row is updated swaps two other rows: writing the row back
    // where it still is does not make the index that predates the swap trusted again.
    ASSERT_EQ(obj->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    TevDocManObject* const three = table.begin();
    doc->updateDocManInformations(&table);
    host.log.when("updateDerivedObject", [this] { std::swap(table[0], table[1]); });
    EXPECT_EQ(send(obj, three[2], E::eDlgDocManMsgUpdateObject), 1);
    three[0].m_title = three[1].m_title = u"stale";
    h8->updateDocManInformations(&table);
    EXPECT_EQ(rows() + "|" + text(three[0].m_title) + "|" + text(three[1].m_title),
              "H9 H8 H7|stale|old:H8");

    // Many objects: the index grows and its probes meet. A reset of the details with the
    // manager closed erases exactly their rows in one pass; the list's row moves down.
    for (int handle = 10; handle < 60; ++handle) {
        host.addObject(doc, 8, TevString(("H" + std::to_string(handle)).c_str()).getStringW());
    }
    doc->removeFromTable();
    table.setLength(0);
    doc->addDocManObjects(&table);
    host.addBom(5, "..\\BOM\\Parts.txt")->addDocManObjects(&table);
    for (TevDocManObject& row : table) {
        row.m_title = u"stale";
    }
    doc->updateDocManInformations(&table);
    int refreshed = 0;
    for (const TevDocManObject& row : table) {
        refreshed += row.m_title == TevString(u"old:") + row.m_derivedObject->getHandle() ? 1 : 0;
    }
    EXPECT_EQ(std::to_string(table.length()) + " rows, " + std::to_string(refreshed) + " refreshed",
              "54 rows, 53 refreshed");
    host.model().resetDerivedDocs(E::eDocTypeDetail);
    EXPECT_EQ(rows(), "Parts.txt:bom");
}

} // namespace
