#include "TevDerivedObjectInfo.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

using E = TevDerDocEnums;
using List = TevArray<TevString>;

List listOf(std::initializer_list<TevString> texts) {
    List list;
    for (const TevString& text : texts) {
        list.append(text);
    }
    return list;
}

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
std::string ownOf(const TevDerivedObjectInfo&) {
    return "";
}

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

// Gives every member a value, tagged so that two filled infos differ everywhere.
void fillOwn(TevDerivedObjectInfo&, const TevString&, int) {}

void fillOwn(TevDerivedObjectBomInfo& info, const TevString& t, int n) {
    info.setBomType(n);
    info.setDetailHandles(listOf({t + u"-d1"}));
    info.setInfoForUpdate(n + 1, n + 2, n + 3, listOf({t + u"-m1", t + u"-m2"}));
}

void fillOwn(TevDerivedObjectDetailInfo& info, const TevString& t, int n) {
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
    info.setLogicalObjectSelection(n);
}

void fillOwn(TevDerivedObjectNCInfo& info, const TevString& t, int n) {
    info.setStyleKey(n);
    info.setIsDSTVExtension(n + 1);
    info.setIsDSTVNC(n % 2);
    info.setFileWritenForSingleObject(t + u".nc1");
    info.setFileWritenGlobal(t + u"-all.nc1");
    info.setNcAddinDllName(t + u".dll");
    info.setNcAddinRunName(t + u"-run");
    info.setDefaultsOverrideXmlPath(t + u".xml");
}

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
    fillOwn(info, t, n);
    return info;
}

// What every kind shares: setFrom and refreshInfo (whatever the bits, through the base)
// replace all but the server side; copies and moves take everything; reset keeps the server
// side; a source of another kind gives only its base members.
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

    Info copy(src), assigned;
    assigned = src;
    Info moved(std::move(copy)), moveAssigned;
    moveAssigned = std::move(moved);
    Info& alias = moveAssigned;
    moveAssigned = std::move(alias);
    for (const Info* each : {&assigned, &moveAssigned}) {
        EXPECT_EQ(allOf(*each), allOf(src)) << "a move to itself keeps everything";
    }

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

TEST(TevDerivedObjectInfo, ResetAndSetFromLeaveTheServerSideMembersThatCopiesTake) {
    expectTheCommonBehaviour<TevDerivedObjectInfo>("", "", "");
}

TEST(TevDerivedObjectBomInfo, DefaultsAndOwnMembersSurviveResetAndSetInfoForUpdateSetsItsFields) {
    const std::string own = "8 9 10 7 1[s-d1]";
    expectTheCommonBehaviour<TevDerivedObjectBomInfo>("-1 -1 3 0 0[]", own, own);
    TevDerivedObjectBomInfo info;
    info.setTitle(u"kept");
    info.setInfoForUpdate(11, 12, 13, listOf({u"h"}));
    EXPECT_EQ(sharedOf(info), "5[kept,,,,]01[h]") << "setInfoForUpdate sets only the handles";
    info.setTemplateKey(21);
    info.setTemplateLocation(22);
    EXPECT_EQ(ownOf(info), "11 21 22 0 0[]") << "the template's own setters";
}

TEST(TevDerivedObjectDetailInfo,
     ResetRestoresEveryDetailMemberAndPartSettersPadOnlyEmptyServerHandles) {
    const std::string defaults = "5[,,,,]0[]0[]0[]0[] on 0";
    expectTheCommonBehaviour<TevDerivedObjectDetailInfo>(
        defaults,
        "5[s-style,s-process,s-scale,s-h,s-proto]2[s-s1,s-s2]1[s-m1]2[s-ss1,s-ss2]1[s-ms1] off 7",
        defaults);

    TevDerivedObjectDetailInfo info;
    info.setSinglePartsDetailed(listOf({u"p1", u"p2", u"p3"}));
    info.setSinglePartsDetailed(listOf({u"q1", u"q2", u"q3", u"q4", u"q5"}));
    info.setMainPartsDetailedServerHandles(listOf({u"srv"}));
    info.setMainPartsDetailed(listOf({u"m1", u"m2"}));
    EXPECT_EQ(join(info.getSinglePartsDetailedServerHandles()) +
                  join(info.getMainPartsDetailedServerHandles()),
              "3[,,]1[srv]");
    info.setMainPartsDetailedServerHandles(List());
    info.setMainPartsDetailed(listOf({u"m3"}));
    EXPECT_EQ(join(info.getMainPartsDetailedServerHandles()), "1[]");
}

TEST(TevDerivedObjectNCInfo, ResetRestoresTheIntegersKeepsTheTextsAndCopiesTakeThem) {
    const std::string texts = " 5[s.nc1,s-all.nc1,s.dll,s-run,s.xml]";
    expectTheCommonBehaviour<TevDerivedObjectNCInfo>("-1 -1 -1 5[,,,,]", "7 8 1" + texts,
                                                     "-1 -1 -1" + texts);
}

} // namespace
