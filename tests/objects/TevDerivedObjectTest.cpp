#include "TevDerivedObject.h"

#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TempFolder.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevDerivedObjectInfo.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using E = TevDerDocEnums;
using lumtest::text;
using Calls = std::vector<std::string>;

const auto kNotModified = static_cast<E::ObjectModification>(0);

TevArray<TevString> listOf(std::initializer_list<const char16_t*> texts) {
    TevArray<TevString> list;
    for (const char16_t* entry : texts) {
        list.append(entry);
    }
    return list;
}

std::vector<std::string> textsOf(const TevArray<TevString>& list) {
    std::vector<std::string> out;
    for (const TevString& entry : list) {
        out.push_back(text(entry));
    }
    return out;
}

TevArray<TevDerivedObject*> objectsOf(std::initializer_list<TevDerivedObject*> objects) {
    TevArray<TevDerivedObject*> list;
    for (TevDerivedObject* obj : objects) {
        list.append(obj);
    }
    return list;
}

std::string commandActiveCall(const TevDerivedDocument* doc) {
    return "isCommandActive(" + text(doc->getFullFileName()) + ")";
}

// The detail document "..\Details\A1.dwg" (id 11) in a real folder where its file exists,
// holding its one object "H11"; the log starts empty.
struct DetailOnDisk {
    DetailOnDisk() {
        folder.createFile("Details/A1.dwg");
        doc = host.addDetail(11, "..\\Details\\A1.dwg");
        if (doc == nullptr || doc->objects().length() != 1) {
            ADD_FAILURE() << "the detail document could not be set up";
            return;
        }
        obj = doc->objects()[0];
        host.log.clear();
    }
    void removeFile() const { std::filesystem::remove(folder.path() / "Details" / "A1.dwg"); }
    std::string commandActive() const { return commandActiveCall(doc); }

    lumtest::TempFolder folder;
    lumtest::FakeHost host{folder.appPath()};
    lumtest::FakeDetailDocument* doc = nullptr;
    TevDerivedObject* obj = nullptr;
};

// ---- Status --------------------------------------------------------------------------

TEST(TevDerivedObject, GetUpdateRefreshesCommandActiveThenStoresTheModelsAnswer) {
    DetailOnDisk s;
    s.obj->setHasUpdReq(true);
    s.doc->setCheckDocFile(true);
    s.host.model().newUpdate = E::eStatusRecheck;

    EXPECT_EQ(s.obj->getUpdate(), E::eStatusRecheck);
    EXPECT_EQ(s.host.log.calls(), (Calls{s.commandActive(), "getNewUpdate(H11,0)"}));
    EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusRecheck);
    EXPECT_FALSE(s.doc->getCheckDocFile()) << "the file was found again, so the flag is cleared";

    // With the flag cleared the model is asked all the same.
    s.host.log.clear();
    s.host.model().newUpdate = E::eStatusFailed;
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFailed);
    EXPECT_EQ(s.host.log.calls(), (Calls{s.commandActive(), "getNewUpdate(H11,0)"}));
    EXPECT_FALSE(s.doc->getCheckDocFile());
}

TEST(TevDerivedObject, GetUpdateWithoutUpdateRequirementKeepsTheStatusAndTheCheckFlag) {
    DetailOnDisk s;
    s.doc->setCheckDocFile(true);
    s.obj->setStatus(E::eStatusRecheck);

    EXPECT_EQ(s.obj->getUpdate(), E::eStatusRecheck);
    EXPECT_EQ(s.host.log.calls(), (Calls{s.commandActive()}));
    EXPECT_TRUE(s.doc->getCheckDocFile());
}

TEST(TevDerivedObject, MissingFileGivesFileMissingWhichStaysWithoutUpdateRequirement) {
    DetailOnDisk s;
    s.obj->setStatus(E::eStatusOk);
    s.removeFile();
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFileMissing);
    EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusFileMissing);
    EXPECT_EQ(s.host.log.calls(), (Calls{s.commandActive()}));

    s.folder.createFile("Details/A1.dwg");
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFileMissing) << "the file is back, the status is not";

    s.obj->setHasUpdReq(true);
    s.host.log.clear();
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusOk) << "an update requirement asks the model again";
    EXPECT_EQ(s.host.log.only("getNewUpdate"), (Calls{"getNewUpdate(H11,0)"}));

    // With an update requirement, a missing file is reported before anything else.
    s.doc->setCheckDocFile(true);
    s.removeFile();
    s.host.log.clear();
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFileMissing);
    EXPECT_EQ(s.host.log.calls(), (Calls{s.commandActive()}));
    EXPECT_TRUE(s.doc->getCheckDocFile());
}

TEST(TevDerivedObject, UpdatePerformedRereadsTheStatusOnlyForAModifiedObject) {
    DetailOnDisk s;
    s.obj->setHasUpdReq(true);
    s.host.model().newUpdate = E::eStatusRecheck;

    s.obj->updatePerformed(kNotModified);
    s.obj->updatePerformed(static_cast<E::ObjectModification>(2));
    EXPECT_EQ(s.host.log.calls(), Calls{});
    EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusUndetermined);

    s.obj->updatePerformed(E::eObjectModified);
    EXPECT_EQ(s.host.log.calls(), (Calls{"beginCheckDerivedObjects", s.commandActive(),
                                         "getNewUpdate(H11,0)", "endCheckDerivedObjects"}));
    EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusRecheck);
}

// ---- updateObject --------------------------------------------------------------------

TEST(TevDerivedObject, UpdateObjectRegeneratesThroughTheDocumentThenRereadsTheStatus) {
    DetailOnDisk s;
    s.obj->setHasUpdReq(true);
    s.obj->setHandle(u"G7");
    s.host.model().newUpdate = E::eStatusRecheck;

    int out = 7;
    EXPECT_EQ(s.obj->updateObject(out, E::eDlgDocManMsgUpdateSpecial, E::eObjectModified, false),
              E::eStatusOk);
    EXPECT_EQ(out, 8) << "the document received the caller's own counter";
    EXPECT_EQ(s.host.log.calls(),
              (Calls{"updateDerivedObject(A1.dwg,G7,1,100)", "checkDerivedObjects(A1.dwg,11)",
                     "beginCheckDerivedObjects", s.commandActive(), "getNewUpdate(H11,0)",
                     "endCheckDerivedObjects"}));
    EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusRecheck);
}

TEST(TevDerivedObject, UpdateObjectPassesMessageAndFlagAndRereadsOnlyAfterOkAndModified) {
    struct Case {
        E::eDlgDocManMessage msg;
        E::ObjectModification mod;
        bool flag;
        E::ErrorStatus result;
        const char* passed; // modification and the three flags, as the document saw them
    };
    const Case cases[] = {
        {E::eDlgDocManMsgUpdateAlt, kNotModified, false, E::eStatusOk, "0,001"},
        {E::eDlgDocManMsgUpdate, kNotModified, true, E::eStatusOk, "0,010"},
        {E::eDlgDocManMsgRecheck, E::eObjectModified, false, E::eStatusFailed, "1,000"},
        {E::eDlgDocManMsgUpdateSpecial, E::eObjectModified, false, E::eStatusRecheck, "1,100"},
    };
    for (const Case& c : cases) {
        DetailOnDisk s;
        s.obj->setHasUpdReq(true);
        s.doc->script.updateResult = c.result;
        int out = 0;
        EXPECT_EQ(s.obj->updateObject(out, c.msg, c.mod, c.flag), c.result);
        EXPECT_EQ(s.host.log.calls(),
                  (Calls{"updateDerivedObject(A1.dwg,H11," + std::string(c.passed) + ")",
                         "checkDerivedObjects(A1.dwg,11)"}))
            << "message " << c.msg;
        EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusUndetermined) << "message " << c.msg;
    }
}

TEST(TevDerivedObject, UpdateObjectDropsTheInfoWhateverTheResult) {
    for (const E::ErrorStatus result : {E::eStatusOk, E::eStatusFailed}) {
        lumtest::FakeHost host;
        lumtest::FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
        TevDerivedObject* obj = doc->objects()[0];
        doc->script.updateResult = result;
        obj->fillInfo();
        host.log.clear();
        obj->fillInfo();
        EXPECT_EQ(host.log.calls(), Calls{}) << "an info is built once";

        int out = 0;
        obj->updateObject(out, E::eDlgDocManMsgUpdate, E::eObjectModified, false);
        host.log.clear();
        obj->fillInfo();
        EXPECT_EQ(host.log.calls(), (Calls{"fillOldInfo(H11)"})) << "result " << result;
    }
}

TEST(TevDerivedObject, UpdateObjectWithTheFlagClearsTheModelExtractNameOnlyInADetailDocument) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* detail = host.addDetail(11, "..\\Details\\A1.dwg");
    TevDerivedObject* detailObj = detail->objects()[0];
    TevDerivedObject* bomInDetail = host.factory.createBomObject(detail, u"B1");
    detail->addDerivedObject(bomInDetail, false);
    int out = 0;

    detail->setModelExtractFileName(u"M1.dwg");
    detailObj->updateObject(out, E::eDlgDocManMsgUpdateSpecial, kNotModified, false);
    EXPECT_EQ(text(detail->getModelExtractFileName()), "M1.dwg") << "without the flag";
    detailObj->updateObject(out, E::eDlgDocManMsgUpdate, kNotModified, true);
    EXPECT_EQ(text(detail->getModelExtractFileName()), "");

    detail->setModelExtractFileName(u"M2.dwg");
    bomInDetail->updateObject(out, E::eDlgDocManMsgUpdate, kNotModified, true);
    EXPECT_EQ(text(detail->getModelExtractFileName()), "") << "the document's kind decides";

    // BOM and NC documents have no such name: the flag only reaches the host.
    detail->setModelExtractFileName(u"M3.dwg");
    lumtest::FakeBomDocument* bom = host.addBom(3, "..\\BOM\\r3.txt");
    lumtest::FakeNCDocument* nc = host.addNC("..\\NC\\p1.nc", E::eDocSubTypeNCDxf, "n1", false);
    host.log.clear();
    EXPECT_EQ(bom->objects()[0]->updateObject(out, E::eDlgDocManMsgUpdate, kNotModified, true),
              E::eStatusOk);
    EXPECT_EQ(nc->objects()[0]->updateObject(out, E::eDlgDocManMsgUpdate, kNotModified, true),
              E::eStatusOk);
    EXPECT_EQ(host.log.calls(),
              (Calls{"updateDerivedObject(r3.txt,,0,010)", "checkDerivedObjects(r3.txt,11)",
                     "updateDerivedObject(p1.nc,,0,010)", "checkDerivedObjects(p1.nc,11)"}));
    EXPECT_EQ(text(detail->getModelExtractFileName()), "M3.dwg");
}

// ---- Info ----------------------------------------------------------------------------

TEST(TevDerivedObject, FillInfoTakesTheModelsInfoAndFallsBackToFillOldInfo) {
    struct Case {
        bool updReq;
        int modelAnswer;
        Calls expected;
        const char* title;
    };
    const Case cases[] = {
        {true, 1, {"fillNewInfo(H11)"}, "new:H11"},
        {true, 0, {"fillNewInfo(H11)", "fillOldInfo(H11)"}, "old:H11"},
        {false, 1, {"fillOldInfo(H11)"}, "old:H11"},
    };
    for (const Case& c : cases) {
        lumtest::FakeHost host;
        host.model().objectFillAnswer = c.modelAnswer;
        TevDerivedObject* obj = host.addDetail(11, "..\\Details\\A1.dwg")->objects()[0];
        obj->setHasUpdReq(c.updReq);
        host.log.clear();

        obj->fillInfo();
        EXPECT_EQ(host.log.calls(), c.expected);
        EXPECT_EQ(text(obj->getTitle()), c.title);
        EXPECT_EQ(host.log.calls(), c.expected) << "reading a built info asks nobody";
    }
}

TEST(TevDerivedObject, ChangingTheUpdateRequirementDropsTheInfoOnlyOnAChange) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    TevDerivedObject* obj = doc->objects()[0];
    const auto refillCalls = [&] {
        host.log.clear();
        obj->fillInfo();
        return host.log.calls();
    };
    obj->fillInfo();
    obj->setHasUpdReq(false);
    EXPECT_EQ(refillCalls(), Calls{});

    obj->setHasUpdReq(true);
    EXPECT_EQ(refillCalls(), (Calls{"fillNewInfo(H11)"}));
    obj->setHasUpdReq(true);
    EXPECT_EQ(refillCalls(), Calls{});
    obj->setHasUpdReq(false);
    EXPECT_EQ(refillCalls(), (Calls{"fillOldInfo(H11)"}));
    EXPECT_FALSE(doc->hasUpdReq()) << "the flag is the object's own";
}

TEST(TevDerivedObject, RefreshInfoWithoutInfoBuildsTheDocumentsInfosAndRefreshesNothing) {
    lumtest::FakeHost host;
    TevDerivedObject* obj = host.addDetail(11, "..\\Details\\A1.dwg")->objects()[0];
    obj->setHasUpdReq(true);
    host.log.clear();

    obj->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(host.log.calls(
                  {"beginGetUpdateAllDerObjs", "endGetUpdateAllDerObjs", "fillOldInfo(A1.dwg)"}),
              (Calls{"checkDerivedObjects(A1.dwg,11)", "fillNewInfo(H11)",
                     "derivedDocRefreshed(A1.dwg)"}));
    EXPECT_EQ(host.log.only("refresh"), Calls{});
    EXPECT_EQ(text(obj->getTitle()), "new:H11");
}

TEST(TevDerivedObject, RefreshInfoAsksTheModelOrFillsAgainThroughFillOldInfo) {
    lumtest::FakeHost host;
    TevDerivedObject* obj = host.addDetail(11, "..\\Details\\A1.dwg")->objects()[0];
    obj->fillInfo();
    host.log.clear();
    obj->refreshInfo(E::eDerivedDocInfoAll);
    EXPECT_EQ(host.log.calls(), (Calls{"fillOldInfo(H11)"}));

    obj->setHasUpdReq(true);
    obj->fillInfo();
    host.log.clear();
    obj->refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(host.log.calls(), (Calls{"derivedDocRefreshed(A1.dwg)", "refreshNewInfo(H11,1)",
                                       "derivedDocRefreshed(A1.dwg)"}));
}

TEST(TevDerivedObject, ReadersBuildTheDocumentsInfosFirstThenAnswerTheInfosFields) {
    lumtest::FakeHost host;
    TevDerivedObject* obj = host.addDetail(11, "..\\Details\\A1.dwg")->objects()[0];
    host.log.clear();
    EXPECT_EQ(text(obj->getTitle()), "old:H11");
    EXPECT_EQ(host.log.only("checkDerivedObjects"), (Calls{"checkDerivedObjects(A1.dwg,11)"}));
    EXPECT_EQ(host.log.only("derivedDocRefreshed"), (Calls{"derivedDocRefreshed(A1.dwg)"}));

    // What a host would write into the info it filled.
    auto* info = const_cast<TevDerivedObjectInfo*>(obj->getInfo());
    ASSERT_NE(info, nullptr);
    info->setLogicalBaseObjectHandle(u"LB1");
    info->setLogicalBaseServerHandle(u"LS1");
    info->setEqualPartModelHandle(u"EM1");
    info->setEqualPartServerHandle(u"ES1");
    info->setModelSelection(42);
    info->setModelHandles(listOf({u"m1", u"m2"}));
    info->setServerHandles(listOf({u"s1"}));
    dynamic_cast<TevDerivedObjectDetailInfo&>(*info).setLogicalObjectSelection(17);
    host.log.clear();

    EXPECT_EQ(text(obj->getLogicalBaseObjectHandle()), "LB1");
    EXPECT_EQ(text(obj->getLogicalBaseServerHandle()), "LS1");
    EXPECT_EQ(text(obj->getEqualPartModelHandle()), "EM1");
    EXPECT_EQ(text(obj->getEqualPartServerHandle()), "ES1");
    EXPECT_EQ(obj->getModelSelection(), 42);
    EXPECT_EQ(dynamic_cast<TevDerivedObjectDetail&>(*obj).getLogicalObjectSelection(), 17);
    TevArray<TevString> out = listOf({u"stale", u"stale2", u"stale3"});
    obj->getModelHandles(out);
    EXPECT_EQ(textsOf(out), (std::vector<std::string>{"m1", "m2"}));
    obj->getServerHandles(out);
    EXPECT_EQ(textsOf(out), (std::vector<std::string>{"s1"}));
    EXPECT_EQ(host.log.calls(), Calls{});

    obj->resetInfo();
    EXPECT_EQ(obj->getModelSelection(), 0) << "the rebuilt info is the host's fresh one";
    EXPECT_EQ(host.log.only("fillOldInfo(H11)"), (Calls{"fillOldInfo(H11)"}));
}

TEST(TevDerivedObject, ReadersWithoutAnObtainableInfoAnswerEmptyValuesAndEmptyTheList) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* owner = host.addDetail(5, "..\\Details\\B5.dwg");
    lumtest::FakeDetailDocument* holder = host.addDetail(6, "..\\Details\\B6.dwg");
    // Its own document does not list it, so the document cannot build its info.
    lumtest::FakeDetailObject* stray = host.factory.makeDetailObject(owner, 7, u"H7");
    holder->addDerivedObject(stray, false);
    host.log.clear();

    TevArray<TevString> out = listOf({u"stale"});
    stray->getModelHandles(out);
    EXPECT_EQ(out.length(), 0);
    out = listOf({u"stale"});
    stray->getServerHandles(out);
    EXPECT_EQ(out.length(), 0);
    EXPECT_EQ(text(stray->getTitle()), "");
    EXPECT_EQ(text(stray->getLogicalBaseObjectHandle()), "");
    EXPECT_EQ(text(stray->getLogicalBaseServerHandle()), "");
    EXPECT_EQ(text(stray->getEqualPartModelHandle()), "");
    EXPECT_EQ(text(stray->getEqualPartServerHandle()), "");
    EXPECT_EQ(stray->getModelSelection(), 0);
    EXPECT_EQ(stray->getLogicalObjectSelection(), 0);
    EXPECT_EQ(stray->getInfo(), nullptr);
    EXPECT_EQ(host.log.only("checkDerivedObjects(B5.dwg").size(), 10U)
        << "every reader asked the owning document again";
    EXPECT_EQ(host.log.only("fillOldInfo(H7)"), Calls{});

    holder->deleteDerivedObject(stray); // while its owning document still lives
}

// ---- Duplicate groups ----------------------------------------------------------------

TEST(TevDerivedObject, IsDuplicateOnlyWhileItsGroupHoldsTwoObjects) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    TevDerivedObject* a = doc->objects()[0];
    TevDerivedObject* b = host.factory.makeDetailObject(doc, 12, u"H12");
    TevDerivedObject* c = host.factory.makeDetailObject(doc, 13, u"H13");
    doc->addDerivedObject(b, false);
    doc->addDerivedObject(c, false);
    EXPECT_FALSE(a->isDuplicate());
    {
        TevDerivedObjectDuplicateInfo group(objectsOf({a, b}));
        a->setDuplicateInfo(&group);
        b->setDuplicateInfo(&group);
        EXPECT_TRUE(a->isDuplicate());
        group.removeObject(a);
        EXPECT_EQ(b->getDuplicateInfo(), &group);
        EXPECT_FALSE(b->isDuplicate()) << "a group of one shows no duplicate";
    }
    host.model().appendDuplicateObjects(objectsOf({a, b, c}));
    host.model().removeObjectFromDuplicate(a);
    EXPECT_FALSE(a->isDuplicate());
    EXPECT_TRUE(b->isDuplicate());
    EXPECT_TRUE(c->isDuplicate());
    host.model().removeObjectFromDuplicate(b);
    EXPECT_EQ(c->getDuplicateInfo(), nullptr);
    EXPECT_FALSE(c->isDuplicate());
}

TEST(TevDerivedObject, DestroyedObjectLeavesItsDuplicateGroup) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    TevDerivedObject* a = doc->objects()[0];
    TevDerivedObject* b = host.factory.makeDetailObject(doc, 12, u"H12");
    TevDerivedObject* c = host.factory.makeDetailObject(doc, 13, u"H13");
    TevDerivedObject* d = host.factory.makeDetailObject(doc, 14, u"H14");
    for (TevDerivedObject* obj : {b, c, d}) {
        doc->addDerivedObject(obj, false);
    }
    host.model().appendDuplicateObjects(objectsOf({a, b, c}));
    TevDerivedObjectDuplicateInfo* group = a->getDuplicateInfo();
    ASSERT_NE(group, nullptr);

    doc->deleteDerivedObject(a);
    ASSERT_EQ(host.model().getDuplicates().length(), 1);
    EXPECT_EQ(group->getObjects().length(), 2);
    EXPECT_TRUE(b->isDuplicate());

    doc->deleteDerivedObject(b); // a group of two dissolves
    EXPECT_EQ(host.model().getDuplicates().length(), 0);
    EXPECT_EQ(c->getDuplicateInfo(), nullptr);
    EXPECT_FALSE(c->isDuplicate());

    // A group the model does not hold is left as well.
    TevDerivedObjectDuplicateInfo loose(objectsOf({c, d}));
    c->setDuplicateInfo(&loose);
    d->setDuplicateInfo(&loose);
    doc->deleteDerivedObject(c);
    ASSERT_EQ(loose.getObjects().length(), 1);
    EXPECT_EQ(loose.getObjects()[0], d);
    EXPECT_FALSE(d->isDuplicate());
}

TEST(TevDerivedObject, DestroyingAnObjectStillInTheTableReportsItAndGoesOn) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    TevDerivedObject* left = doc->objects()[0];
    TevDerivedObject* kept = host.factory.makeDetailObject(doc, 12, u"H12");
    doc->addDerivedObject(kept, false);
    // Not the model's table, so the document cannot take the rows out before disposal.
    TevArray<TevDocManObject> table;
    ASSERT_EQ(left->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    ASSERT_EQ(kept->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    left->removeDocManInformations(&table);
    kept->fillInfo(); // destroyed with the object (checked by the leak sanitizer)

    lumtest::ScopedAssertionRecorder recorder;
    doc->deleteDerivedObject(left);
    EXPECT_EQ(recorder.take(), std::vector<std::string>{});
    doc->deleteDerivedObject(kept);
    EXPECT_EQ(recorder.take(), (std::vector<std::string>{"!m_alreadyInTable"}));
    EXPECT_EQ(host.factory.disposedObjects(), 2);
    EXPECT_EQ(host.factory.liveObjects(), 0U);
}

// ---- Kinds ---------------------------------------------------------------------------

TEST(TevDerivedObjectDetail, StartsWithItsDocumentsCommandActiveAndNoStatus) {
    lumtest::FakeHost host;
    lumtest::FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    host.log.clear();
    TevDerivedObject* obj = host.factory.makeDetailObject(doc, 12, u"H12");
    doc->addDerivedObject(obj, false);
    EXPECT_EQ(host.log.calls(), (Calls{commandActiveCall(doc)}));
    EXPECT_EQ(obj->getUpdateFast(), E::eStatusUndetermined);
    EXPECT_EQ(obj->getType(), E::eDocTypeDetail);
    EXPECT_EQ(obj->getSubType(), E::eDocSubTypeNone);
    EXPECT_FALSE(obj->isDummyObject());
    EXPECT_NE(dynamic_cast<const TevDerivedObjectDetailInfo*>(obj->getInfo()), nullptr);
}

TEST(TevDerivedObjectDetail, IdZeroMakesADummyThatKeepsItsStatusAndAFreshInfo) {
    lumtest::FakeHost host; // no file exists: a file check would report it missing
    lumtest::FakeDetailDocument* doc = host.addDetail(0, "..\\Details\\A0.dwg");
    auto* dummy = dynamic_cast<TevDerivedObjectDetail*>(doc->objects()[0]);
    ASSERT_NE(dummy, nullptr);
    EXPECT_TRUE(dummy->isDummyObject());
    dummy->setHasUpdReq(true);
    dummy->setStatus(E::eStatusRecheck);
    host.log.clear();

    EXPECT_EQ(dummy->getUpdate(), E::eStatusRecheck);
    EXPECT_EQ(host.log.calls(), (Calls{commandActiveCall(doc)}));

    host.log.clear();
    dummy->fillInfo();
    dummy->refreshInfo(E::eDerivedDocInfoAll);
    EXPECT_EQ(host.log.calls(), Calls{}) << "neither the model nor fillOldInfo is asked";
    const auto* info = dynamic_cast<const TevDerivedObjectDetailInfo*>(dummy->getInfo());
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->getDetExternalObjectState());
    EXPECT_EQ(dummy->getLogicalObjectSelection(), 0);
    EXPECT_EQ(text(dummy->getTitle()), "");
    TevArray<TevString> out = listOf({u"stale"});
    dummy->getModelHandles(out);
    EXPECT_EQ(out.length(), 0);
}

TEST(TevDerivedObjectBom, InfoKeepsTheBomDefaultsUntilTheHostFillsThem) {
    lumtest::FakeHost host;
    TevDerivedObject* obj = host.addBom(3, "..\\BOM\\r3.txt")->objects()[0];
    EXPECT_EQ(obj->getId(), 0);
    EXPECT_EQ(obj->getType(), E::eDocTypeBom);
    EXPECT_FALSE(obj->isDummyObject()) << "id 0 makes a dummy only of a detail object";

    for (const bool updReq : {false, true}) {
        obj->setHasUpdReq(updReq);
        const auto* info = dynamic_cast<const TevDerivedObjectBomInfo*>(obj->getInfo());
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(text(info->getTitle()), updReq ? "new:r3.txt:bom" : "old:r3.txt:bom");
        EXPECT_EQ(info->getModelExtractKey(), -1);
        EXPECT_EQ(info->getTemplateKey(), -1);
        EXPECT_EQ(info->getTemplateLocation(), 3);
        EXPECT_EQ(info->getBomType(), 0);
    }
}

TEST(TevDerivedObjectNC, HasNoIdNoHandleAndSubTypeNoneWhateverItsDocument) {
    lumtest::FakeHost host;
    lumtest::FakeNCDocument* doc = host.addNC("..\\NC\\p1.nc", E::eDocSubTypeNCDxf, "n1", false);
    ASSERT_EQ(doc->getKey().m_subType, E::eDocSubTypeNCDxf);
    TevDerivedObject* obj = doc->objects()[0];
    EXPECT_EQ(obj->getId(), 0);
    EXPECT_EQ(text(obj->getHandle()), "");
    EXPECT_EQ(obj->getType(), E::eDocTypeNC);
    EXPECT_EQ(obj->getSubType(), E::eDocSubTypeNone);
    EXPECT_FALSE(obj->isDummyObject());
    const auto* info = dynamic_cast<const TevDerivedObjectNCInfo*>(obj->getInfo());
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getStyleKey(), -1);
}

} // namespace
