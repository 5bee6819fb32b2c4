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

template <class T>
TevArray<T> arrayOf(std::initializer_list<T> entries) {
    TevArray<T> list;
    for (const T& entry : entries) {
        list.append(entry);
    }
    return list;
}

std::string joined(const TevArray<TevString>& list) {
    std::string out;
    for (const TevString& entry : list) {
        out += text(entry) + "|";
    }
    return "[" + out + "]";
}

// Id, handle, type, sub-kind and dummy flag, as one comparable text.
std::string identity(std::int64_t id, const TevString& handle, int type,
                     int subType = E::eDocSubTypeNone, bool dummy = false) {
    return std::to_string(id) + " '" + text(handle) + "' " + std::to_string(type) + " " +
           std::to_string(subType) + (dummy ? " dummy" : "");
}
std::string identityOf(const TevDerivedObject* obj) {
    return identity(obj->getId(), obj->getHandle(), obj->getType(), obj->getSubType(),
                    obj->isDummyObject());
}

// Calls the nine info readers (the list readers on stale lists), as one text.
std::string readAll(TevDerivedObjectDetail& obj) {
    TevArray<TevString> models = arrayOf<TevString>({u"stale", u"stale2", u"stale3"});
    TevArray<TevString> servers = arrayOf<TevString>({u"stale"});
    obj.getModelHandles(models);
    obj.getServerHandles(servers);
    return joined(arrayOf({obj.getTitle(), obj.getLogicalBaseObjectHandle(),
                           obj.getLogicalBaseServerHandle(), obj.getEqualPartModelHandle(),
                           obj.getEqualPartServerHandle()})) +
           std::to_string(obj.getModelSelection()) + " " +
           std::to_string(obj.getLogicalObjectSelection()) + joined(models) + joined(servers);
}
const char* const kNothingRead = "[|||||]0 0[][]";

// The detail document "..\Details\A1.dwg" (id 11) in a real folder where its file exists,
// holding its one object "H11"; the log starts empty.
struct DetailOnDisk {
    DetailOnDisk() {
        folder.createFile("Details/A1.dwg");
        doc = host.addDetail(11, "..\\Details\\A1.dwg");
        obj = doc->objects().isEmpty()
                  ? nullptr
                  : dynamic_cast<lumtest::FakeDetailObject*>(doc->objects()[0]);
        commandActive = "isCommandActive(" + text(doc->getFullFileName()) + ")";
        host.log.clear();
    }
    // Adds the detail object "H<id>" that the host made itself.
    lumtest::FakeDetailObject* add(std::int64_t id) {
        lumtest::FakeDetailObject* made =
            host.factory.makeDetailObject(doc, id, TevString(("H" + std::to_string(id)).c_str()));
        doc->addDerivedObject(made, false);
        return made;
    }
    Calls takeCalls(std::initializer_list<const char*> ignored = {}) {
        Calls calls = host.log.calls(ignored);
        host.log.clear();
        return calls;
    }
    void removeFile() const { std::filesystem::remove(folder.path() / "Details" / "A1.dwg"); }

    lumtest::TempFolder folder;
    lumtest::FakeHost host{folder.appPath()};
    lumtest::FakeDetailDocument* doc = nullptr;
    lumtest::FakeDetailObject* obj = nullptr;
    std::string commandActive;
};

// ---- Status --------------------------------------------------------------------------

TEST(TevDerivedObject, StatusComesFromTheModelOnlyWithAnUpdateRequirementAndTheFile) {
    DetailOnDisk s;
    // The model's answer is stored and the file found again clears the check flag.
    s.doc->setCheckDocFile(true);
    s.obj->setHasUpdReq(true);
    s.host.model().newUpdate = E::eStatusFailed;
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFailed);
    EXPECT_EQ(s.takeCalls(), (Calls{s.commandActive, "getNewUpdate(H11,0)"}));
    EXPECT_FALSE(s.doc->getCheckDocFile());

    // updatePerformed re-reads the status for a modified object only; with the check flag
    // cleared the model is asked all the same.
    s.host.model().newUpdate = E::eStatusRecheck;
    s.obj->updatePerformed(kNotModified);
    s.obj->updatePerformed(static_cast<E::ObjectModification>(2));
    s.obj->updatePerformed(E::eObjectModified);
    EXPECT_EQ(s.takeCalls(), (Calls{"beginCheckDerivedObjects", s.commandActive,
                                    "getNewUpdate(H11,0)", "endCheckDerivedObjects"}));
    EXPECT_EQ(s.obj->getUpdateFast(), E::eStatusRecheck);

    // A missing file is reported before anything else, and stays without requirement.
    s.doc->setCheckDocFile(true);
    s.removeFile();
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFileMissing);
    EXPECT_EQ(s.takeCalls(), (Calls{s.commandActive}));
    EXPECT_TRUE(s.doc->getCheckDocFile());
    s.obj->setHasUpdReq(false);
    s.obj->setStatus(E::eStatusOk);
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFileMissing);
    s.folder.createFile("Details/A1.dwg");
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusFileMissing) << "the file is back, the status is not";
    EXPECT_TRUE(s.doc->getCheckDocFile()) << "no requirement leaves the check flag";
    s.obj->setHasUpdReq(true);
    EXPECT_EQ(s.obj->getUpdate(), E::eStatusRecheck) << "an update requirement asks the model";
}

// ---- updateObject --------------------------------------------------------------------

TEST(TevDerivedObject, UpdateObjectPassesItsArgumentsRereadsOnlyAfterOkAndModifiedDropsTheInfo) {
    const struct {
        E::eDlgDocManMessage msg;
        E::ObjectModification mod;
        bool flag;
        E::ErrorStatus result;
        const char* passed; // modification and the three flags, as the document saw them
    } cases[] = {
        {E::eDlgDocManMsgUpdateSpecial, E::eObjectModified, false, E::eStatusOk, "1,100"},
        {E::eDlgDocManMsgUpdateAlt, kNotModified, false, E::eStatusOk, "0,001"},
        {E::eDlgDocManMsgUpdate, kNotModified, true, E::eStatusOk, "0,010"},
        {E::eDlgDocManMsgRecheck, E::eObjectModified, false, E::eStatusFailed, "1,000"},
        {E::eDlgDocManMsgUpdateSpecial, E::eObjectModified, false, E::eStatusRecheck, "1,100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "message " << c.msg << ", result " << c.result);
        DetailOnDisk s;
        s.obj->setHasUpdReq(true);
        s.obj->setHandle(u"G7");
        s.obj->fillInfo();
        s.doc->script.updateResult = c.result;
        s.doc->setModelExtractFileName(u"M1.dwg");
        s.host.log.clear();
        int out = 7;
        EXPECT_EQ(s.obj->updateObject(out, c.msg, c.mod, c.flag), c.result);
        EXPECT_EQ(out, 8) << "the document received the caller's own counter";
        Calls expected{"updateDerivedObject(A1.dwg,G7," + std::string(c.passed) + ")",
                       "checkDerivedObjects(A1.dwg,11)"};
        const bool reread = c.result == E::eStatusOk && c.mod == E::eObjectModified;
        if (reread) {
            expected.insert(expected.end(), {"beginCheckDerivedObjects", s.commandActive,
                                             "getNewUpdate(H11,0)", "endCheckDerivedObjects"});
        }
        EXPECT_EQ(s.takeCalls(), expected);
        EXPECT_EQ(s.obj->getUpdateFast(), reread ? E::eStatusOk : E::eStatusUndetermined);
        EXPECT_EQ(text(s.doc->getModelExtractFileName()), c.flag ? "" : "M1.dwg");
        s.obj->fillInfo();
        EXPECT_EQ(s.takeCalls(), (Calls{"fillNewInfo(H11)"})) << "the info was dropped";
    }
}

TEST(TevDerivedObject, UpdateObjectWithTheFlagClearsTheModelExtractNameOnlyInADetailDocument) {
    DetailOnDisk s; // the flag on a BOM object of a detail document clears the name too
    TevDerivedObject* bomInDetail = s.host.factory.createBomObject(s.doc, u"B1");
    s.doc->addDerivedObject(bomInDetail, false);
    s.doc->setModelExtractFileName(u"M1.dwg");
    int out = 0;
    bomInDetail->updateObject(out, E::eDlgDocManMsgUpdate, kNotModified, true);
    EXPECT_EQ(text(s.doc->getModelExtractFileName()), "");

    // BOM and NC documents have no such name: the flag only reaches the host.
    lumtest::FakeBomDocument* bom = s.host.addBom(3, "..\\BOM\\r3.txt");
    lumtest::FakeNCDocument* nc = s.host.addNC("..\\NC\\p1.nc", E::eDocSubTypeNCDxf, "n1", false);
    s.host.log.clear();
    for (TevDerivedObject* obj : {bom->objects()[0], nc->objects()[0]}) {
        EXPECT_EQ(obj->updateObject(out, E::eDlgDocManMsgUpdate, kNotModified, true), E::eStatusOk);
    }
    EXPECT_EQ(s.takeCalls(),
              (Calls{"updateDerivedObject(r3.txt,,0,010)", "checkDerivedObjects(r3.txt,11)",
                     "updateDerivedObject(p1.nc,,0,010)", "checkDerivedObjects(p1.nc,11)"}));
}

// ---- Info ----------------------------------------------------------------------------

TEST(TevDerivedObject, InfoIsBuiltOnceFromModelOrFillOldInfoDroppedOnChangeAndRefreshed) {
    DetailOnDisk s;
    const struct {
        bool updReq;
        int modelAnswer;
        Calls fill;
        const char* title;
    } steps[] = {
        {false, 1, {"fillOldInfo(H11)"}, "old:H11"},
        {false, 1, {}, "old:H11"}, // the same value keeps the info
        {true, 1, {"fillNewInfo(H11)"}, "new:H11"},
        {true, 0, {}, "new:H11"},
        {false, 0, {"fillOldInfo(H11)"}, "old:H11"},
        {true, 0, {"fillNewInfo(H11)", "fillOldInfo(H11)"}, "old:H11"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << "requirement " << step.updReq << ", answer " << step.modelAnswer);
        s.host.model().objectFillAnswer = step.modelAnswer;
        s.obj->setHasUpdReq(step.updReq);
        s.obj->fillInfo();
        EXPECT_EQ(text(s.obj->getTitle()), step.title);
        EXPECT_EQ(s.takeCalls(), step.fill) << "reading a built info asks nobody";
    }
    EXPECT_FALSE(s.doc->hasUpdReq()) << "the flag is the object's own";

    // refreshInfo goes through the model, or fills again through fillOldInfo; without info
    // it builds the document's infos and refreshes nothing.
    s.obj->refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(s.takeCalls(), (Calls{"derivedDocRefreshed(A1.dwg)", "refreshNewInfo(H11,1)",
                                    "derivedDocRefreshed(A1.dwg)"}));
    s.obj->resetInfo();
    s.obj->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(s.takeCalls({"beginGetUpdateAllDerObjs", "endGetUpdateAllDerObjs", "fillOldInfo(A1"}),
              (Calls{"checkDerivedObjects(A1.dwg,11)", "fillNewInfo(H11)", "fillOldInfo(H11)",
                     "derivedDocRefreshed(A1.dwg)"}));
    s.obj->setHasUpdReq(false);
    s.obj->fillInfo();
    s.host.log.clear();
    s.obj->refreshInfo(E::eDerivedDocInfoAll);
    EXPECT_EQ(s.takeCalls(), (Calls{"fillOldInfo(H11)"}));
}

TEST(TevDerivedObject, ReadersBuildTheDocumentsInfosFirstOrAnswerEmptyValuesWithoutOne) {
    DetailOnDisk s;
    EXPECT_EQ(text(s.obj->getTitle()), "old:H11");
    EXPECT_EQ(s.host.log.only("checkDerivedObjects"), (Calls{"checkDerivedObjects(A1.dwg,11)"}));

    // What a host would write into the info it filled.
    auto* info = dynamic_cast<TevDerivedObjectDetailInfo*>(
        const_cast<TevDerivedObjectInfo*>(s.obj->getInfo()));
    ASSERT_NE(info, nullptr);
    info->setLogicalBaseObjectHandle(u"LB1");
    info->setLogicalBaseServerHandle(u"LS1");
    info->setEqualPartModelHandle(u"EM1");
    info->setEqualPartServerHandle(u"ES1");
    info->setModelSelection(42);
    info->setModelHandles(arrayOf<TevString>({u"m1", u"m2"}));
    info->setServerHandles(arrayOf<TevString>({u"s1"}));
    info->setLogicalObjectSelection(17);
    s.host.log.clear();
    EXPECT_EQ(readAll(*s.obj), "[old:H11|LB1|LS1|EM1|ES1|]42 17[m1|m2|][s1|]");
    EXPECT_EQ(s.takeCalls(), Calls{});

    // An object its own document does not list: the document cannot build its info.
    lumtest::FakeDetailDocument* owner = s.host.addDetail(5, "..\\Details\\B5.dwg");
    lumtest::FakeDetailObject* stray = s.host.factory.makeDetailObject(owner, 7, u"H7");
    s.doc->addDerivedObject(stray, false);
    s.host.log.clear();
    EXPECT_EQ(readAll(*stray), kNothingRead);
    EXPECT_EQ(stray->getInfo(), nullptr);
    EXPECT_EQ(s.host.log.only("checkDerivedObjects(B5.dwg").size(), 10U)
        << "every reader asked the owning document again";
    EXPECT_EQ(s.host.log.only("fillOldInfo(H7)"), Calls{});
    s.doc->deleteDerivedObject(stray); // while its owning document still lives
}

// ---- Duplicate groups and disposal ---------------------------------------------------

TEST(TevDerivedObject, IsDuplicateNeedsTwoInItsGroupWhichADestroyedObjectLeaves) {
    DetailOnDisk s;
    TevDerivedObject *a = s.obj, *b = s.add(12), *c = s.add(13), *d = s.add(14);
    EXPECT_FALSE(a->isDuplicate());
    s.host.model().appendDuplicateObjects(arrayOf({a, b}));
    ASSERT_TRUE(b->isDuplicate());
    s.doc->deleteDerivedObject(a); // a group of two dissolves
    EXPECT_EQ(s.host.model().getDuplicates().length(), 0);
    EXPECT_EQ(b->getDuplicateInfo(), nullptr);

    // A group the model does not hold is left as well; a group of one shows no duplicate.
    TevDerivedObjectDuplicateInfo loose(arrayOf({c, d}));
    c->setDuplicateInfo(&loose);
    d->setDuplicateInfo(&loose);
    ASSERT_TRUE(d->isDuplicate());
    s.doc->deleteDerivedObject(c);
    ASSERT_EQ(loose.getObjects().length(), 1);
    EXPECT_EQ(loose.getObjects()[0], d);
    EXPECT_EQ(d->getDuplicateInfo(), &loose);
    EXPECT_FALSE(d->isDuplicate());
}

TEST(TevDerivedObject, DestroyingAnObjectStillInTheTableReportsItAndGoesOn) {
    DetailOnDisk s;
    TevDerivedObject *left = s.obj, *kept = s.add(12);
    // Not the model's table, so the document cannot take the rows out before disposal.
    TevArray<TevDocManObject> table;
    ASSERT_EQ(left->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    ASSERT_EQ(kept->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    left->removeDocManInformations(&table);
    kept->fillInfo(); // destroyed with the object (checked by the leak sanitizer)

    lumtest::ScopedAssertionRecorder recorder;
    s.doc->deleteDerivedObject(left);
    EXPECT_EQ(recorder.take(), std::vector<std::string>{});
    s.doc->deleteDerivedObject(kept);
    EXPECT_EQ(recorder.take(), (std::vector<std::string>{"!m_alreadyInTable"}));
    EXPECT_EQ(s.host.factory.disposedObjects(), 2);
}

TEST(TevDerivedObject, ApprovalStatusGoesToItsDocumentAndReservedOperationsDoNothing) {
    DetailOnDisk s;
    EXPECT_EQ(s.obj->setDocumentApprovalStatus(2), E::eStatusOk) << "the document's answer";
    lumtest::CallLog log;
    lumtest::FakeDetailObject orphan(log, "orphan", nullptr, 5, u"H5");
    EXPECT_EQ(orphan.setDocumentApprovalStatus(2), E::eStatusNotSupported);

    EXPECT_FALSE(s.obj->hasUpdReq());
    s.obj->setHasUpdReq(true);
    EXPECT_TRUE(s.obj->hasUpdReq());
    s.obj->setHasUpdReq(false);
    EXPECT_FALSE(s.obj->hasUpdReq());

    s.host.log.clear();
    s.obj->TevDerivedObject::reserved5();
    s.obj->TevDerivedObject::reserved9();
    EXPECT_EQ(s.takeCalls(), Calls{});
    EXPECT_EQ(identityOf(s.obj), identity(11, u"H11", E::eDocTypeDetail));
}

// ---- Kinds ---------------------------------------------------------------------------

TEST(TevDerivedObjectDetail, StartsWithCommandActiveAndNoStatusAndIdZeroMakesADummy) {
    DetailOnDisk s;
    TevDerivedObject* obj = s.add(12);
    EXPECT_EQ(s.takeCalls(), (Calls{s.commandActive}));
    EXPECT_EQ(obj->getUpdateFast(), E::eStatusUndetermined);
    EXPECT_EQ(identityOf(obj), identity(12, u"H12", E::eDocTypeDetail));

    // A dummy keeps its status and a fresh info: no file check, no model, no fillOldInfo.
    lumtest::FakeDetailObject* dummy = s.add(0);
    EXPECT_EQ(identityOf(dummy), identity(0, u"H0", E::eDocTypeDetail, E::eDocSubTypeNone, true));
    s.removeFile(); // a file check would report it missing
    dummy->setHasUpdReq(true);
    dummy->setStatus(E::eStatusRecheck);
    s.host.log.clear();
    EXPECT_EQ(dummy->getUpdate(), E::eStatusRecheck);
    EXPECT_EQ(s.takeCalls(), (Calls{s.commandActive}));
    dummy->fillInfo();
    dummy->refreshInfo(E::eDerivedDocInfoAll);
    const auto* info = dynamic_cast<const TevDerivedObjectDetailInfo*>(dummy->getInfo());
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->getDetExternalObjectState());
    EXPECT_EQ(readAll(*dummy), kNothingRead);
    EXPECT_EQ(s.takeCalls(), Calls{});
}

TEST(TevDerivedObjectBom, InfoKeepsTheBomDefaultsUntilTheHostFillsThem) {
    lumtest::FakeHost host;
    TevDerivedObject* obj = host.addBom(3, "..\\BOM\\r3.txt")->objects()[0];
    EXPECT_EQ(identityOf(obj), identity(0, u"", E::eDocTypeBom)) << "only a detail id 0 is a dummy";
    for (const bool updReq : {false, true}) {
        obj->setHasUpdReq(updReq);
        const auto* info = dynamic_cast<const TevDerivedObjectBomInfo*>(obj->getInfo());
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(text(info->getTitle()), updReq ? "new:r3.txt:bom" : "old:r3.txt:bom");
        EXPECT_EQ((std::vector<int>{info->getModelExtractKey(), info->getTemplateKey(),
                                    info->getTemplateLocation(), info->getBomType()}),
                  (std::vector<int>{-1, -1, 3, 0}));
    }
}

TEST(TevDerivedObjectNC, HasNoIdNoHandleAndSubTypeNoneWhateverItsDocument) {
    lumtest::FakeHost host;
    lumtest::FakeNCDocument* doc = host.addNC("..\\NC\\p1.nc", E::eDocSubTypeNCDxf, "n1", false);
    ASSERT_EQ(doc->getKey().m_subType, E::eDocSubTypeNCDxf);
    EXPECT_EQ(identityOf(doc->objects()[0]), identity(0, u"", E::eDocTypeNC));
    EXPECT_NE(dynamic_cast<const TevDerivedObjectNCInfo*>(doc->objects()[0]->getInfo()), nullptr);
}

} // namespace
