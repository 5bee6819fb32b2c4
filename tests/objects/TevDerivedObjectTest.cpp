#include "TevDerivedObject.h"

#include "AssertionRecorder.h"
#include "FakeHost.h"
#include "TempFolder.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevDerivedObjectInfo.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using E = TevDerDocEnums;
using namespace lumtest;
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

// Calls the nine info readers (the list readers on stale lists), as one text.
std::string readAll(TevDerivedObjectDetail& obj) {
    TevArray<TevString> models = arrayOf<TevString>({u"stale", u"stale2"}), servers = models;
    obj.getModelHandles(models);
    obj.getServerHandles(servers);
    return joined(arrayOf({obj.getTitle(), obj.getLogicalBaseObjectHandle(),
                           obj.getLogicalBaseServerHandle(), obj.getEqualPartModelHandle(),
                           obj.getEqualPartServerHandle()})) +
           std::to_string(obj.getModelSelection()) + " " +
           std::to_string(obj.getLogicalObjectSelection()) + joined(models) + joined(servers);
}

// A row filled for `obj` over one with the given categories; as text, the categories and
// the title, date, style, process, NC and DXF names.
TevDocManObject rowOf(TevDerivedObject* obj, int category = 9, int subCategory = 7) {
    TevDocManObject row;
    row.m_category = category;
    row.m_subCategory = subCategory;
    obj->fillDocManObjectData(row);
    return row;
}
std::string textOf(const TevDocManObject& row) {
    return std::to_string(row.m_category) + "/" + std::to_string(row.m_subCategory) + " " +
           joined(arrayOf({row.m_title, row.m_date, row.m_styleName, row.m_processName,
                           row.m_ncName, row.m_ncDxfName}));
}

struct TevDerivedObjectTest : DetailDocumentTest {
    template <class Document>
    static TevDerivedObject* firstOf(Document* doc) {
        return doc->objects()[0];
    }

    const std::string commandActive = "isCommandActive(" + text(doc->getFullFileName()) + ")";
};

TEST_F(TevDerivedObjectTest, StatusIsReadFromTheModelOnceTheFileIsFoundAndAgainAfterAChange) {
    doc->setCheckDocFile(true);
    obj->setHasUpdReq(true);
    obj->getUpdate();
    EXPECT_FALSE(doc->getCheckDocFile()) << "the file was found";
    // updatePerformed re-reads the status for a modified object only.
    obj->updatePerformed(kNotModified);
    obj->updatePerformed(static_cast<E::ObjectModification>(2));
    obj->updatePerformed(E::eObjectModified);
    EXPECT_EQ(host.log.take(),
              (Calls{commandActive, "getNewUpdate(H11,0)", "beginCheckDerivedObjects",
                     commandActive, "getNewUpdate(H11,0)", "endCheckDerivedObjects"}));
}

TEST_F(TevDerivedObjectTest, InfoIsRefreshedThroughTheModelOrFillOldInfoOrBuiltWithTheDocument) {
    host.model().objectFillAnswer = 0; // the model leaves the info to fillOldInfo
    obj->fillInfo();
    obj->setHasUpdReq(true); // a change drops the info
    obj->fillInfo();
    EXPECT_EQ(host.log.take(), (Calls{"fillOldInfo(H11)", "fillNewInfo(H11)", "fillOldInfo(H11)"}));
    // refreshInfo goes through the model, or fills again through fillOldInfo; without info
    // it builds the document's infos and refreshes nothing.
    obj->refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(host.log.take(), (Calls{"derivedDocRefreshed(A1.dwg)", "refreshNewInfo(H11,1)",
                                      "derivedDocRefreshed(A1.dwg)"}));
    obj->resetInfo();
    obj->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(
        host.log.take({"beginGetUpdateAllDerObjs", "endGetUpdateAllDerObjs", "fillOldInfo(A1"}),
        (Calls{"checkDerivedObjects(A1.dwg,11)", "fillNewInfo(H11)", "fillOldInfo(H11)",
               "derivedDocRefreshed(A1.dwg)"}));
    obj->setHasUpdReq(false);
    obj->fillInfo();
    host.log.clear();
    obj->refreshInfo(E::eDerivedDocInfoAll);
    EXPECT_EQ(host.log.take(), (Calls{"fillOldInfo(H11)"}));
}

TEST_F(TevDerivedObjectTest, ReadersBuildTheDocumentsInfosFirstOrAnswerEmptyValuesWithoutOne) {
    // What a host would write into the info it filled.
    auto* info = dynamic_cast<TevDerivedObjectDetailInfo*>(
        const_cast<TevDerivedObjectInfo*>(obj->getInfo()));
    info->setLogicalBaseObjectHandle(u"LB1");
    info->setLogicalBaseServerHandle(u"LS1");
    info->setEqualPartModelHandle(u"EM1");
    info->setEqualPartServerHandle(u"ES1");
    info->setModelSelection(42);
    info->setModelHandles(arrayOf<TevString>({u"m1", u"m2"}));
    info->setServerHandles(arrayOf<TevString>({u"s1"}));
    info->setLogicalObjectSelection(17);
    host.log.clear();
    EXPECT_EQ(readAll(*obj), "[old:H11|LB1|LS1|EM1|ES1|]42 17[m1|m2|][s1|]");

    // An object its own document does not list: the document cannot build its info.
    FakeDetailDocument* owner = host.addDetail(5, "..\\Details\\B5.dwg");
    FakeDetailObject* stray = host.factory.makeDetailObject(owner, 7, u"H7");
    doc->addDerivedObject(stray, false);
    host.log.clear();
    EXPECT_EQ(readAll(*stray), "[|||||]0 0[][]");
    EXPECT_EQ(host.log.only("checkDerivedObjects(B5.dwg").size(), 9U)
        << "every reader asked the owning document again";
    doc->deleteDerivedObject(stray); // while its owning document still lives
}

TEST_F(TevDerivedObjectTest, OrphansAnswerForThemselvesAndDestroyingAnObjectInTheTableIsReported) {
    // Without a document an object answers for itself and fills only its own part of a row.
    FakeDetailObject orphan(host.log, "orphan", nullptr, 5, u"H5");
    FakeBomObject bom(host.log, "bom", nullptr, u"B1");
    FakeNCObject nc(host.log, "nc", nullptr);
    TevDocumentApproval approval;
    EXPECT_EQ((std::vector<int>{
                  obj->setDocumentApprovalStatus(2), orphan.setDocumentApprovalStatus(2),
                  orphan.setCheckDocumentStatus(1), orphan.getDocumentApproval(approval),
                  rowOf(&orphan).m_commandActive, rowOf(&bom).m_category, rowOf(&nc).m_category}),
              (std::vector<int>{E::eStatusOk, E::eStatusNotSupported, E::eStatusNotSupported, 0, 0,
                                9, 9}));
    TevDerivedObject* kept = add(12);
    // Not the model's table, so the document cannot take the rows out before disposal.
    TevArray<TevDocManObject> table;
    ASSERT_EQ(obj->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    kept->appendDocManObject(&table, E::eDocSubTypeAll);
    obj->removeDocManInformations(&table);
    kept->fillInfo(); // destroyed with the object (checked by the leak sanitizer)
    doc->deleteDerivedObject(obj);
    EXPECT_EQ(recorder.take(), Calls{});
    doc->deleteDerivedObject(kept);
    EXPECT_EQ(recorder.take(), (Calls{"!m_alreadyInTable"}));
}

TEST_F(TevDerivedObjectTest, RowOfEachKindBuildsAMissingInfoFirstAndShowsItsCategoriesAndValues) {
    host.reportManager.dstvReports.insert(6);
    host.reportManager.extracts.push_back({42, u"Ground floor"});
    TevDerivedObject* bomInDetail = host.factory.createBomObject(doc, u"B1");
    doc->addDerivedObject(bomInDetail, false);
    TevDerivedObject* parts = firstOf(host.addBom(5, "..\\BOM\\Parts.txt"));
    const Calls extract = {"getReportManager", "getModelExtract(-1)"};
    const auto nc = [this](E::eDocSubType subType, const char* name) {
        return firstOf(
            host.addNC(("NC\\" + std::string(name) + ".nc").c_str(), subType, name, false));
    };
    // Each row: the object, its row (date and model extract set after the first fill), and
    // the host's calls after the info fill of the first.
    const struct {
        TevDerivedObject* obj;
        const char* row;
        Calls afterFill;
    } cases[] = {
        {obj, "0/-1 [old:H11|D|||||]", {}},
        {bomInDetail, "0/0 [old:A1.dwg:bom|D|old:A1.dwg:bom|Ground floor|||]", extract},
        {firstOf(host.addBom(6, "..\\DSTV\\List.txt")),
         "2/0 [old:List.txt:bom|D|old:List.txt:bom|Ground floor|||]", extract},
        {parts, "1/7 [old:Parts.txt:bom|D|old:Parts.txt:bom|Ground floor|||]", extract},
        {nc(E::eDocSubTypeDstv, "N0"), "2/1 [old:N0.nc:nc|D|-|-|||]", {}},
        {nc(E::eDocSubTypeNCNamed, "N1"), "2/2 [old:N1.nc:nc|D|-|-|N1||]", {}},
        {nc(E::eDocSubTypeNCDxf, "dxf1"), "3/2 [old:dxf1.nc:nc|D|-|-||dxf1|]", {}},
        {nc(E::eDocSubTypeNCDxf, "Dx.f"), "3/-1 [old:Dx.f.nc:nc|D|-|-||Dx.f|]", {}},
        {nc(E::eDocSubTypeNone, "N3"), "9/7 [old:N3.nc:nc|D|-|-|||]", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(nameOf(c.obj));
        TevDerivedDocument* owner = c.obj->getDerivedDoc();
        owner->getInfo();
        c.obj->resetInfo(); // the document has its info, the object has none yet
        host.log.clear();
        EXPECT_EQ(text(rowOf(c.obj).m_title), "old:" + nameOf(c.obj));
        const std::string name = nameOf(owner);
        Calls expected = {"checkDerivedObjects(" + name + ",11)",
                          "beginGetUpdateAllDerObjs(" + name + ")",
                          "fillOldInfo(" + nameOf(c.obj) + ")", "derivedDocRefreshed(" + name + ")",
                          "endGetUpdateAllDerObjs(" + name + ")"};
        expected.insert(expected.end(), c.afterFill.begin(), c.afterFill.end());
        EXPECT_EQ(host.log.take({"isCommandActive"}), expected);

        auto* info = const_cast<TevDerivedObjectInfo*>(c.obj->getInfo());
        info->setDate(u"D");
        if (auto* bomInfo = dynamic_cast<TevDerivedObjectBomInfo*>(info)) {
            bomInfo->setModelExtractKey(42);
        }
        EXPECT_EQ(textOf(rowOf(c.obj)), c.row);
        EXPECT_EQ(rowOf(c.obj).m_derivedObject, c.obj) << "the part all kinds share";
    }

    // The model extract's name needs a known key, an answer of 1 and a report manager.
    auto& info = dynamic_cast<TevDerivedObjectBomInfo&>(
        *const_cast<TevDerivedObjectInfo*>(parts->getInfo()));
    info.setModelExtractKey(43);
    rowOf(parts);
    EXPECT_EQ(host.log.only("getModelExtract").back(), "getModelExtract(43)");
    info.setModelExtractKey(42);
    host.reportManager.foundExtractAnswer = 2;
    EXPECT_EQ(text(rowOf(parts).m_processName), "");
    host.reportManager.foundExtractAnswer = 1;
    host.model().reportManager = nullptr;
    EXPECT_EQ(text(rowOf(parts).m_processName), "");
}

TEST_F(TevDerivedObjectTest, DetailRowCarriesTheDetailInfoAndKeepsTheHostsCategoriesFourAndFive) {
    auto& info = dynamic_cast<TevDerivedObjectDetailInfo&>(
        *const_cast<TevDerivedObjectInfo*>(obj->getInfo()));
    info.setStyleName(u"Style S");
    info.setProcessDescription(u"Welding");
    info.setScale(u"1:20");
    info.setHandle(u"DH1");
    info.setLogicalObjectSelection(42);
    info.setMainPartsDetailed(arrayOf<TevString>({u"M1", u"M2"}));
    info.setSinglePartsDetailed(arrayOf<TevString>({u"S1"}));
    const TevDocManObject row = rowOf(obj);
    EXPECT_EQ(textOf(row), "0/-1 [old:H11||Style S|Welding|||]");
    EXPECT_EQ(text(row.m_scale) + " " + text(row.m_detailHandle) + " " +
                  std::to_string(row.m_logicalObjectSelection) + joined(row.m_mainPartsDetailed) +
                  joined(row.m_singlePartsDetailed),
              "1:20 DH1 42[M1|M2|][S1|]");
    EXPECT_TRUE(row.m_detExternalObjectState);
    for (const int category : {4, 5, 3}) {
        const TevDocManObject own = rowOf(obj, category, 2);
        EXPECT_EQ(std::to_string(own.m_category) + "/" + std::to_string(own.m_subCategory),
                  category == 3 ? "0/-1" : std::to_string(category) + "/2");
    }
}

} // namespace
