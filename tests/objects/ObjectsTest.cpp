// Objects of the three kinds and their infos: copies, resets and refreshes of the infos,
// the status and info reads through the model, and the rows objects fill.
#include "FakeHost.h"

namespace {

using namespace lumtest;
using List = TevArray<TevString>;

// The length first, so that a list of one empty text differs from an empty list.
std::string join(const List& list) {
    std::string text = std::to_string(list.length()) + "[";
    for (int index = 0; index < list.length(); ++index) {
        text += (index > 0 ? "," : "") + list[index].toUtf8();
    }
    return text + "]";
}

// The base members that reset() and setFrom() handle, as one comparable text.
std::string sharedOf(const TevDerivedObjectInfo& info) {
    return join(listOf({info.getTitle(), info.getDate(), info.getLogicalBaseObjectHandle(),
                        info.getEqualPartModelHandle(), info.getEqualPartServerHandle()})) +
           std::to_string(info.getModelSelection()) + join(info.getModelHandles());
}

// The two members that belong to the server side.
std::string serverSideOf(const TevDerivedObjectInfo& info) {
    return info.getLogicalBaseServerHandle().toUtf8() + join(info.getServerHandles());
}

// Each kind's own members, as one comparable text.
std::string ownOf(const TevDerivedObjectBomInfo& info) {
    List detailHandles = listOf({u"stale", u"entries"});
    info.getDetailHandles(detailHandles);
    return std::to_string(info.getModelExtractKey()) + " " + std::to_string(info.getTemplateKey()) +
           " " + std::to_string(info.getTemplateLocation()) + " " +
           std::to_string(info.getBomType()) + " " + join(detailHandles);
}

std::string ownOf(const TevDerivedObjectDetailInfo& info) {
    return join(listOf({info.getStyleName(), info.getProcessDescription(), info.getScale(),
                        info.getHandle(), info.getPrototypeName()})) +
           join(info.getSinglePartsDetailed()) + join(info.getMainPartsDetailed()) +
           join(info.getSinglePartsDetailedServerHandles()) +
           join(info.getMainPartsDetailedServerHandles()) +
           (info.getDetExternalObjectState() ? " on " : " off ") +
           std::to_string(info.getLogicalObjectSelection());
}

std::string ownOf(const TevDerivedObjectNCInfo& info) {
    return std::to_string(info.getStyleKey()) + " " + std::to_string(info.getIsDSTVExtension()) +
           " " + std::to_string(info.getIsDSTVNC()) + " " +
           join(listOf({info.getFileWritenForSingleObject(), info.getFileWritenGlobal(),
                        info.getNcAddinDllName(), info.getNcAddinRunName(),
                        info.getDefaultsOverrideXmlPath()}));
}

template <class Info>
std::string allOf(const Info& info) {
    return sharedOf(info) + " / " + ownOf(info) + " / " + serverSideOf(info);
}

// An info whose every member has a value, tagged so that two filled infos differ everywhere.
template <class Info>
Info filled(const char16_t* tag, int n) {
    Info info;
    const TevString t(tag);
    info.setTitle(t + u"-title");
    info.setDate(t + u"-date");
    info.setLogicalBaseObjectHandle(t + u"-lbo");
    info.setLogicalBaseServerHandle(t + u"-lbs");
    info.setModelSelection(n);
    info.setModelHandles(listOf({t + u"-m1", t + u"-m2"}));
    info.setServerHandles(listOf({t}));
    info.setEqualPartModelHandle(t + u"-epm");
    info.setEqualPartServerHandle(t + u"-eps");
    if constexpr (std::is_same_v<Info, TevDerivedObjectBomInfo>) {
        info.setBomType(n);
        info.setDetailHandles(listOf({t + u"-d1"}));
        info.setInfoForUpdate(n + 1, n + 2, n + 3, listOf({t + u"-m1", t + u"-m2"}));
    } else if constexpr (std::is_same_v<Info, TevDerivedObjectDetailInfo>) {
        info.setStyleName(t + u"-style");
        info.setProcessDescription(t + u"-process");
        info.setScale(t + u"-scale");
        info.setHandle(t + u"-h");
        info.setPrototypeName(t + u"-proto");
        info.setSinglePartsDetailed(listOf({t + u"-s1", t + u"-s2"}));
        info.setMainPartsDetailed(listOf({t + u"-m1"}));
        info.setSinglePartsDetailedServerHandles(listOf({t + u"-ss1", t + u"-ss2"}));
        info.setMainPartsDetailedServerHandles(listOf({t + u"-ms1"}));
        info.setDetExternalObjectState(n % 2 == 0);
        info.setLogicalObjectSelection(n + 5);
    } else {
        info.setStyleKey(n);
        info.setIsDSTVExtension(n + 1);
        info.setIsDSTVNC(n % 2);
        info.setFileWritenForSingleObject(t + u".nc1");
        info.setFileWritenGlobal(t + u"-all.nc1");
        info.setNcAddinDllName(t + u".dll");
        info.setNcAddinRunName(t + u"-run");
        info.setDefaultsOverrideXmlPath(t + u".xml");
    }
    return info;
}

// What every kind shares: setFrom and refreshInfo (whatever the bits, through the base)
// replace all but the server side; reset keeps the server side; a source of another kind
// gives only its base members; copies and moves take everything.
template <class Info>
void expectTheCommonBehaviour(const std::string& defaults, const std::string& own,
                              const std::string& ownAfterReset) {
    const Info fresh, src = filled<Info>(u"s", 7);
    EXPECT_EQ(allOf(src),
              "5[s-title,s-date,s-lbo,s-epm,s-eps]72[s-m1,s-m2] / " + own + " / s-lbs1[s]");
    Info viaSetFrom = filled<Info>(u"r", 4), viaRefresh = viaSetFrom;
    viaSetFrom.setFrom(&src);
    static_cast<TevDerivedObjectInfo&>(viaRefresh).refreshInfo(&src, E::eDerivedDocInfoApproval);
    EXPECT_EQ(allOf(viaSetFrom), sharedOf(src) + " / " + ownOf(src) + " / r-lbs1[r]");
    EXPECT_EQ(allOf(viaRefresh), allOf(viaSetFrom));

    // The copies and moves are written out (a move copies the lists).
    Info copy(src), assigned;
    assigned = src;
    Info moved(std::move(copy)), moveAssigned;
    moveAssigned = std::move(moved);
    Info& alias = moveAssigned;
    moveAssigned = std::move(alias);
    EXPECT_EQ(allOf(assigned) + allOf(moveAssigned), allOf(src) + allOf(src)); // also to itself

    Info resetOne(src);
    resetOne.reset();
    EXPECT_EQ(allOf(resetOne), sharedOf(fresh) + " / " + ownAfterReset + " / s-lbs1[s]");

    const lumtest::ScopedAssertionRecorder recorder;
    assigned.setFrom(nullptr); // reported, and nothing else
    assigned.refreshInfo(nullptr, E::eDerivedDocInfoAll);

    const TevDerivedObjectInfo baseOnly(src);
    Info fromBase;
    fromBase.setFrom(&baseOnly);
    EXPECT_EQ(allOf(fromBase), sharedOf(src) + " / " + defaults + " / " + serverSideOf(fresh));
}

// Every field each info kind declares, its base's included, reached through classes of the
// test's own since they are protected. A field added to an info class fails the test below
// until it is listed here and in allOf, through which the copies and moves are compared.
template <class Info>
struct InfoFields : Info {
    static auto shared(const Info& i) {
        using F = InfoFields;
        return std::tie(i.*&F::m_title, i.*&F::m_date, i.*&F::m_logicalBaseObjectHandle,
                        i.*&F::m_logicalBaseServerHandle, i.*&F::m_modelSelection,
                        i.*&F::m_modelHandles, i.*&F::m_serverHandles,
                        i.*&F::m_equalPartModelHandle, i.*&F::m_equalPartServerHandle);
    }
};
struct BomFields : InfoFields<TevDerivedObjectBomInfo> {
    static auto of(const TevDerivedObjectBomInfo& i) {
        using F = BomFields;
        return std::tuple_cat(shared(i), std::tie(i.*&F::m_modelExtractKey, i.*&F::m_templateKey,
                                                  i.*&F::m_templateLocation, i.*&F::m_bomType,
                                                  i.*&F::m_detailHandles));
    }
};
struct DetailFields : InfoFields<TevDerivedObjectDetailInfo> {
    static auto of(const TevDerivedObjectDetailInfo& i) {
        using F = DetailFields;
        return std::tuple_cat(
            shared(i),
            std::tie(i.*&F::m_styleName, i.*&F::m_processDescription, i.*&F::m_scale,
                     i.*&F::m_handle, i.*&F::m_prototypeName, i.*&F::m_singlePartsDetailed,
                     i.*&F::m_mainPartsDetailed, i.*&F::m_singlePartsDetailedServerHandles,
                     i.*&F::m_mainPartsDetailedServerHandles, i.*&F::m_detExternalObjectState,
                     i.*&F::m_logicalObjectSelection));
    }
};
struct NCFields : InfoFields<TevDerivedObjectNCInfo> {
    static auto of(const TevDerivedObjectNCInfo& i) {
        using F = NCFields;
        return std::tuple_cat(shared(i),
                              std::tie(i.*&F::m_styleKey, i.*&F::m_fileWritenForSingleObject,
                                       i.*&F::m_fileWritenGlobal, i.*&F::m_ncAddinDllName,
                                       i.*&F::m_ncAddinRunName, i.*&F::m_isDSTVExtension,
                                       i.*&F::m_isDSTVNC, i.*&F::m_defaultsOverrideXmlPath));
    }
};

TEST(TevDerivedObjectInfo, TheFieldListsHoldEveryFieldOfEachKind) {
    const TevDerivedObjectBomInfo bom;
    const TevDerivedObjectDetailInfo detail;
    const TevDerivedObjectNCInfo nc;
    EXPECT_EQ(roomForUnlistedFields(bom, sizeof(void*), BomFields::of(bom)) +
                  roomForUnlistedFields(detail, sizeof(void*), DetailFields::of(detail)) +
                  roomForUnlistedFields(nc, sizeof(void*), NCFields::of(nc)),
              "");
}

// Per kind: the defaults and the members reset keeps (see expectTheCommonBehaviour).
// setInfoForUpdate of a BOM sets its own fields and only the handles of the base; the
// detail's part setters pad only empty server handle lists.
TEST(TevDerivedObjectInfo, EveryKindCopiesResetsAndRefreshesItsMembers) {
    const std::string own = "8 9 10 7 1[s-d1]";
    expectTheCommonBehaviour<TevDerivedObjectBomInfo>("-1 -1 3 0 0[]", own, own);
    const std::string defaults = "5[,,,,]0[]0[]0[]0[] on 0";
    const std::string parts =
        "5[s-style,s-process,s-scale,s-h,s-proto]2[s-s1,s-s2]1[s-m1]2[s-ss1,s-ss2]1[s-ms1] off 12";
    expectTheCommonBehaviour<TevDerivedObjectDetailInfo>(defaults, parts, defaults);
    const std::string texts = " 5[s.nc1,s-all.nc1,s.dll,s-run,s.xml]";
    expectTheCommonBehaviour<TevDerivedObjectNCInfo>("-1 -1 -1 5[,,,,]", "7 8 1" + texts,
                                                     "-1 -1 -1" + texts);

    TevDerivedObjectBomInfo bom;
    bom.setTitle(u"kept");
    bom.setInfoForUpdate(11, 12, 13, listOf({u"h"}));
    bom.setTemplateKey(21);
    bom.setTemplateLocation(22);
    EXPECT_EQ(sharedOf(bom) + " " + ownOf(bom), "5[kept,,,,]01[h] 11 21 22 0 0[]");

    TevDerivedObjectDetailInfo info;
    info.setSinglePartsDetailed(listOf({u"p1", u"p2", u"p3"}));
    info.setSinglePartsDetailed(listOf({u"q1", u"q2", u"q3", u"q4", u"q5"}));
    info.setMainPartsDetailedServerHandles(listOf({u"srv"}));
    info.setMainPartsDetailed(listOf({u"m1", u"m2"}));
    EXPECT_EQ(ownOf(info), "5[,,,,]5[q1,q2,q3,q4,q5]2[m1,m2]3[,,]1[srv] on 0");
    info.setMainPartsDetailedServerHandles(List());
    info.setMainPartsDetailed(listOf({u"m3"}));
    EXPECT_EQ(ownOf(info), "5[,,,,]5[q1,q2,q3,q4,q5]1[m3]3[,,]1[] on 0");
}

// Texts the nine info readers (the list readers on stale lists), as one text.
std::string readAll(TevDerivedObjectDetail& obj) {
    List models = listOf({u"stale", u"stale2"}), servers = models;
    obj.getModelHandles(models);
    obj.getServerHandles(servers);
    return join(listOf({obj.getTitle(), obj.getLogicalBaseObjectHandle(),
                        obj.getLogicalBaseServerHandle(), obj.getEqualPartModelHandle(),
                        obj.getEqualPartServerHandle()})) +
           std::to_string(obj.getModelSelection()) + " " +
           std::to_string(obj.getLogicalObjectSelection()) + join(models) + join(servers);
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
           join(listOf({row.m_title, row.m_date, row.m_styleName, row.m_processName, row.m_ncName,
                        row.m_ncDxfName}));
}

// The info of `obj`, as the host that filled it may change it.
template <class Info>
Info& infoOf(TevDerivedObject* obj) {
    return dynamic_cast<Info&>(*const_cast<TevDerivedObjectInfo*>(obj->getInfo()));
}

using TevDerivedObjectTest = DetailDocumentTest;

// An info is filled and refreshed through the model or fillOldInfo, or built with the
// document's infos; the readers build a missing info first or answer empty values.
TEST_F(TevDerivedObjectTest, InfoIsRefreshedOrBuiltWithTheDocumentAndReadersAnswerFromIt) {
    host.model().objectFillAnswer = 0; // the model leaves the info to fillOldInfo
    obj->fillInfo();
    obj->setHasUpdReq(true); // a change drops the info
    obj->fillInfo();
    EXPECT_EQ(host.log.take(), (Texts{"fillOldInfo(H11)", "fillNewInfo(H11)", "fillOldInfo(H11)"}));
    // refreshInfo goes through the model, or fills again through fillOldInfo; without info
    // it builds the document's infos and refreshes nothing.
    obj->refreshInfo(E::eDerivedDocInfoRevisions);
    EXPECT_EQ(host.log.take(), (Texts{"derivedDocRefreshed(A1.dwg)", "refreshNewInfo(H11,1)",
                                      "derivedDocRefreshed(A1.dwg)"}));
    obj->resetInfo();
    obj->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(
        host.log.take({"beginGetUpdateAllDerObjs", "endGetUpdateAllDerObjs", "fillOldInfo(A1"}),
        (Texts{"checkDerivedObjects(A1.dwg,11)", "fillNewInfo(H11)", "fillOldInfo(H11)",
               "derivedDocRefreshed(A1.dwg)"}));
    obj->setHasUpdReq(false);
    obj->fillInfo();
    host.log.clear();
    obj->refreshInfo(E::eDerivedDocInfoAll);
    EXPECT_EQ(host.log.take(), (Texts{"fillOldInfo(H11)"}));

    // The readers answer from the info a host wrote while the object is unchanged.
    infoOf<TevDerivedObjectDetailInfo>(obj) = filled<TevDerivedObjectDetailInfo>(u"x", 42);
    EXPECT_EQ(readAll(*obj), "5[x-title,x-lbo,x-lbs,x-epm,x-eps]42 472[x-m1,x-m2]1[x]");
    obj->resetInfo(); // gone: a refresh builds it again
    obj->refreshInfo(E::eDerivedDocInfoDwgNo);
    EXPECT_EQ(joined(host.log.take()),
              "checkDerivedObjects(A1.dwg,11) beginGetUpdateAllDerObjs(A1.dwg) fillOldInfo(H11) "
              "derivedDocRefreshed(A1.dwg) endGetUpdateAllDerObjs(A1.dwg)");

    // An object its own document does not list: the document cannot build its info.
    FakeDetailDocument* owner = host.addDetail(5, "..\\Details\\B5.dwg");
    FakeDetailObject* stray = host.factory.makeDetailObject(owner, 7, u"H7");
    doc->addDerivedObject(stray, false);
    EXPECT_EQ(readAll(*stray), "5[,,,,]0 00[]0[]");
    EXPECT_EQ(host.log.only("checkDerivedObjects(B5.dwg").size(), 9U)
        << "every reader asked the owning document again";
    doc->deleteDerivedObject(stray); // while its owning document still lives
}

// The status is read from the model once the file is found and again after a change;
// objects without a document answer for themselves; destroying a tabled object is reported.
TEST_F(TevDerivedObjectTest, StatusIsReadOnceFoundAndAfterAChangeOrphansAnswerForThemselves) {
    const std::string commandActive = "isCommandActive(" + text(doc->getFullFileName()) + ")";
    doc->setCheckDocFile(true);
    obj->setHasUpdReq(true);
    obj->getUpdate();
    EXPECT_FALSE(doc->getCheckDocFile()) << "the file was found";
    // updatePerformed re-reads the status for a modified object only.
    obj->updatePerformed(static_cast<E::ObjectModification>(0));
    obj->updatePerformed(static_cast<E::ObjectModification>(2));
    obj->updatePerformed(E::eObjectModified);
    EXPECT_EQ(host.log.take(),
              (Texts{commandActive, "getNewUpdate(H11,0)", "beginCheckDerivedObjects",
                     commandActive, "getNewUpdate(H11,0)", "endCheckDerivedObjects"}));

    // Without a document an object answers for itself and fills only its own part of a row.
    FakeDetailObject orphan(host.log, "orphan", nullptr, 5, u"H5");
    FakeBomObject bom(host.log, "bom", nullptr, u"B1");
    FakeNCObject nc(host.log, "nc", nullptr);
    TevDocumentApproval approval;
    EXPECT_EQ((Ints{obj->setDocumentApprovalStatus(2), orphan.setDocumentApprovalStatus(2),
                    orphan.setCheckDocumentStatus(1), orphan.getDocumentApproval(approval),
                    rowOf(&orphan).m_commandActive, rowOf(&bom).m_category, rowOf(&nc).m_category}),
              (Ints{E::eStatusOk, E::eStatusNotSupported, E::eStatusNotSupported, 0, 0, 9, 9}));
    TevDerivedObject* kept = host.addObject(doc, 12);
    // Not the model's table, so the document cannot take the rows out before disposal.
    TevArray<TevDocManObject> table;
    ASSERT_EQ(obj->appendDocManObject(&table, E::eDocSubTypeAll), 1);
    kept->appendDocManObject(&table, E::eDocSubTypeAll);
    obj->removeDocManInformations(&table);
    kept->fillInfo(); // destroyed with the object (checked by the leak sanitizer)
    doc->deleteDerivedObject(obj);
    EXPECT_EQ(recorder.take(), Texts{});
    doc->deleteDerivedObject(kept);
    EXPECT_EQ(recorder.take(), (Texts{"!m_alreadyInTable"}));
}

// The row of each kind: the info built first, the categories and the values shown.
TEST_F(TevDerivedObjectTest, RowOfEachKindBuildsAMissingInfoFirstAndShowsItsCategoriesAndValues) {
    host.reportManager.dstvReports.insert(6);
    host.reportManager.extracts.push_back({42, u"Ground floor"});
    TevDerivedObject* bomInDetail = host.factory.createBomObject(doc, u"B1");
    doc->addDerivedObject(bomInDetail, false);
    TevDerivedObject* parts = host.addBom(5, "..\\BOM\\Parts.txt")->objects()[0];
    const auto nc = [this](E::eDocSubType subType, const char* name) {
        return host.addNC(("NC\\" + std::string(name) + ".nc").c_str(), subType, name, false)
            ->objects()[0];
    };
    // Each row: the object, its row (date and model extract set after the first fill), and
    // whether the first fill asks for the model extract (-1) after the info fill.
    const std::tuple<TevDerivedObject*, const char*, bool> cases[] = {
        {obj, "0/-1 6[old:H11,D,,,,]", false},
        {bomInDetail, "0/0 6[old:A1.dwg:bom,D,old:A1.dwg:bom,Ground floor,,]", true},
        {host.addBom(6, "..\\DSTV\\List.txt")->objects()[0],
         "2/0 6[old:List.txt:bom,D,old:List.txt:bom,Ground floor,,]", true},
        {parts, "1/7 6[old:Parts.txt:bom,D,old:Parts.txt:bom,Ground floor,,]", true},
        {nc(E::eDocSubTypeDstv, "N0"), "2/1 6[old:N0.nc:nc,D,-,-,,]", false},
        {nc(E::eDocSubTypeNCNamed, "N1"), "2/2 6[old:N1.nc:nc,D,-,-,N1,]", false},
        {nc(E::eDocSubTypeNCDxf, "dxf1"), "3/2 6[old:dxf1.nc:nc,D,-,-,,dxf1]", false},
        {nc(E::eDocSubTypeNCDxf, "Dx.f"), "3/-1 6[old:Dx.f.nc:nc,D,-,-,,Dx.f]", false},
        {nc(E::eDocSubTypeNone, "N3"), "9/7 6[old:N3.nc:nc,D,-,-,,]", false},
    };
    for (const auto& [object, expected, extract] : cases) {
        SCOPED_TRACE(nameOf(object));
        TevDerivedDocument* owner = object->getDerivedDoc();
        owner->getInfo();
        object->resetInfo(); // the document has its info, the object has none yet
        host.log.clear();
        EXPECT_EQ(text(rowOf(object).m_title), "old:" + nameOf(object));
        const std::string name = nameOf(owner);
        EXPECT_EQ(joined(host.log.take({"isCommandActive"})),
                  "checkDerivedObjects(" + name + ",11) beginGetUpdateAllDerObjs(" + name +
                      ") fillOldInfo(" + nameOf(object) + ") derivedDocRefreshed(" + name +
                      ") endGetUpdateAllDerObjs(" + name + ")" +
                      (extract ? " getReportManager getModelExtract(-1)" : ""));

        auto* info = const_cast<TevDerivedObjectInfo*>(object->getInfo());
        info->setDate(u"D");
        if (auto* bomInfo = dynamic_cast<TevDerivedObjectBomInfo*>(info)) {
            bomInfo->setModelExtractKey(42);
        }
        EXPECT_EQ(textOf(rowOf(object)), expected);
        EXPECT_EQ(rowOf(object).m_derivedObject, object) << "the part all kinds share";
    }

    // The model extract's name needs a known key, an answer of 1 and a report manager.
    auto& info = infoOf<TevDerivedObjectBomInfo>(parts);
    info.setModelExtractKey(43);
    rowOf(parts);
    EXPECT_EQ(host.log.only("getModelExtract").back(), "getModelExtract(43)");
    info.setModelExtractKey(42);
    host.reportManager.foundExtractAnswer = 2;
    EXPECT_EQ(text(rowOf(parts).m_processName), "");
    host.reportManager.foundExtractAnswer = 1;
    host.model().reportManager = nullptr;
    EXPECT_EQ(text(rowOf(parts).m_processName), "");

    // A detail row carries the detail info and keeps the host's categories 4 and 5.
    infoOf<TevDerivedObjectDetailInfo>(obj) = filled<TevDerivedObjectDetailInfo>(u"x", 43);
    const TevDocManObject row = rowOf(obj);
    const std::string values = " 6[x-title,x-date,x-style,x-process,,]";
    EXPECT_EQ(textOf(row) + " " + text(row.m_scale) + " " + text(row.m_detailHandle) + " " +
                  std::to_string(row.m_logicalObjectSelection) + join(row.m_mainPartsDetailed) +
                  join(row.m_singlePartsDetailed) + std::to_string(row.m_detExternalObjectState),
              "0/-1" + values + " x-scale x-h 481[x-m1]2[x-s1,x-s2]0");
    EXPECT_EQ(textOf(rowOf(obj, 4, 2)) + textOf(rowOf(obj, 5, 2)) + textOf(rowOf(obj, 3, 2)),
              "4/2" + values + "5/2" + values + "0/-1" + values);
}

} // namespace
