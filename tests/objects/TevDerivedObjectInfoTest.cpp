#include "TevDerivedObjectInfo.h"

#include "AssertionRecorder.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using E = TevDerDocEnums;

TevArray<TevString> listOf(std::initializer_list<const char16_t*> texts) {
    TevArray<TevString> list;
    for (const char16_t* text : texts) {
        list.append(text);
    }
    return list;
}

// The length first, so that a list of one empty text differs from an empty list.
std::string join(const TevArray<TevString>& list) {
    std::string text = std::to_string(list.length()) + "[";
    for (int index = 0; index < list.length(); ++index) {
        text += (index > 0 ? "," : "") + list[index].toUtf8();
    }
    return text + "]";
}

std::string join(std::initializer_list<TevString> texts) {
    std::string text;
    for (const TevString& part : texts) {
        text += part.toUtf8() + "|";
    }
    return text;
}

// The base members that reset() and setFrom() handle, as one comparable text.
std::string sharedOf(const TevDerivedObjectInfo& info) {
    return join({info.getTitle(), info.getDate(), info.getLogicalBaseObjectHandle(),
                 info.getEqualPartModelHandle(), info.getEqualPartServerHandle()}) +
           std::to_string(info.getModelSelection()) + join(info.getModelHandles());
}

// The two members that belong to the server side.
std::string serverSideOf(const TevDerivedObjectInfo& info) {
    return info.getLogicalBaseServerHandle().toUtf8() + join(info.getServerHandles());
}

// Each kind's own members, as one comparable text.
std::string ownOf(const TevDerivedObjectBomInfo& info) {
    TevArray<TevString> detailHandles;
    info.getDetailHandles(detailHandles);
    return std::to_string(info.getModelExtractKey()) + " " + std::to_string(info.getTemplateKey()) +
           " " + std::to_string(info.getTemplateLocation()) + " " +
           std::to_string(info.getBomType()) + " " + join(detailHandles);
}

std::string ownOf(const TevDerivedObjectDetailInfo& info) {
    return join({info.getStyleName(), info.getProcessDescription(), info.getScale(),
                 info.getHandle(), info.getPrototypeName()}) +
           join(info.getSinglePartsDetailed()) + join(info.getMainPartsDetailed()) +
           join(info.getSinglePartsDetailedServerHandles()) +
           join(info.getMainPartsDetailedServerHandles()) +
           (info.getDetExternalObjectState() ? " on " : " off ") +
           std::to_string(info.getLogicalObjectSelection());
}

std::string ownOf(const TevDerivedObjectNCInfo& info) {
    return std::to_string(info.getStyleKey()) + " " + std::to_string(info.getIsDSTVExtension()) +
           " " + std::to_string(info.getIsDSTVNC()) + " " +
           join({info.getFileWritenForSingleObject(), info.getFileWritenGlobal(),
                 info.getNcAddinDllName(), info.getNcAddinRunName(),
                 info.getDefaultsOverrideXmlPath()});
}

// Gives every base member a value that tells it apart from the initial one.
void fillBase(TevDerivedObjectInfo& info, const char16_t* tag) {
    const TevString t(tag);
    info.setTitle(t + u"-title");
    info.setDate(t + u"-date");
    info.setLogicalBaseObjectHandle(t + u"-lbo");
    info.setLogicalBaseServerHandle(t + u"-lbs");
    info.setModelSelection(7);
    info.setModelHandles(listOf({u"m1", u"m2"}));
    info.setServerHandles(listOf({tag}));
    info.setEqualPartModelHandle(t + u"-epm");
    info.setEqualPartServerHandle(t + u"-eps");
}

void fillDetail(TevDerivedObjectDetailInfo& info) {
    fillBase(info, u"d");
    info.setStyleName(u"style");
    info.setProcessDescription(u"process");
    info.setScale(u"1:10");
    info.setHandle(u"h");
    info.setPrototypeName(u"proto");
    info.setSinglePartsDetailed(listOf({u"s1", u"s2"}));
    info.setMainPartsDetailed(listOf({u"m1"}));
    info.setSinglePartsDetailedServerHandles(listOf({u"ss1", u"ss2"}));
    info.setDetExternalObjectState(false);
    info.setLogicalObjectSelection(9);
}

TEST(TevDerivedObjectInfo, ResetAndSetFromLeaveTheServerSideMembers) {
    const TevDerivedObjectInfo fresh;
    TevDerivedObjectInfo info;
    fillBase(info, u"x");
    info.reset();
    EXPECT_EQ(sharedOf(info), sharedOf(fresh));
    EXPECT_EQ(serverSideOf(info), "x-lbs1[x]");

    TevDerivedObjectInfo src;
    fillBase(src, u"s");
    info.setFrom(&src);
    EXPECT_EQ(sharedOf(info), sharedOf(src));
    EXPECT_EQ(serverSideOf(info), "x-lbs1[x]");

    // The bits are not looked at: an approval refresh brings the title along.
    TevDerivedObjectInfo refreshed;
    refreshed.refreshInfo(&src, E::eDerivedDocInfoApproval);
    EXPECT_EQ(refreshed.getTitle(), TevString(u"s-title"));
    EXPECT_EQ(sharedOf(refreshed), sharedOf(src));
    EXPECT_EQ(serverSideOf(refreshed), serverSideOf(fresh));
}

TEST(TevDerivedObjectInfo, NullSourceIsReportedAndChangesNothing) {
    const lumtest::ScopedAssertionRecorder recorder;
    TevDerivedObjectDetailInfo info;
    fillDetail(info);
    const std::string before = sharedOf(info) + ownOf(info);
    info.setFrom(nullptr);
    info.refreshInfo(nullptr, E::eDerivedDocInfoAll);
    info.TevDerivedObjectInfo::setFrom(nullptr);
    EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"src", "src", "src"}));
    EXPECT_EQ(sharedOf(info) + ownOf(info), before);
}

TEST(TevDerivedObjectInfo, CopiesTakeEveryMemberAndMovesLeaveTheSourceLists) {
    TevDerivedObjectInfo src;
    fillBase(src, u"c");
    const std::string all = sharedOf(src) + serverSideOf(src);

    const TevDerivedObjectInfo copy(src);
    TevDerivedObjectInfo assigned;
    assigned = src;
    EXPECT_EQ(sharedOf(copy) + serverSideOf(copy), all);
    EXPECT_EQ(sharedOf(assigned) + serverSideOf(assigned), all);

    TevDerivedObjectInfo moved(std::move(src));
    TevDerivedObjectInfo moveAssigned;
    moveAssigned = std::move(moved);
    EXPECT_EQ(sharedOf(moveAssigned) + serverSideOf(moveAssigned), all);
    for (const TevDerivedObjectInfo* source :
         std::initializer_list<const TevDerivedObjectInfo*>{&src, &moved}) {
        EXPECT_EQ(join(source->getModelHandles()), "2[m1,m2]");
        EXPECT_EQ(join(source->getServerHandles()), "1[c]");
    }
}

TEST(TevDerivedObjectInfo, KindsAreDispatchedAndDestroyedWholeThroughTheBase) {
    TevDerivedObjectDetailInfo src;
    fillDetail(src);
    std::unique_ptr<TevDerivedObjectInfo> info = std::make_unique<TevDerivedObjectDetailInfo>();
    info->refreshInfo(&src, E::eDerivedDocInfoRevisions);
    EXPECT_EQ(ownOf(dynamic_cast<const TevDerivedObjectDetailInfo&>(*info)), ownOf(src));
    info.reset(); // the leak checker reports any detail member left behind
}

TEST(TevDerivedObjectBomInfo, DefaultsAndOwnMembersSurviveReset) {
    TevDerivedObjectBomInfo info;
    EXPECT_EQ(ownOf(info), "-1 -1 3 0 0[]");

    fillBase(info, u"x");
    info.setBomType(2);
    info.setDetailHandles(listOf({u"d1"}));
    info.setInfoForUpdate(11, 12, 13, listOf({u"h"}));
    EXPECT_EQ(join(info.getModelHandles()), "1[h]");
    EXPECT_EQ(info.getTitle(), TevString(u"x-title")) << "setInfoForUpdate touches no title";
    info.reset();
    EXPECT_EQ(sharedOf(info), sharedOf(TevDerivedObjectInfo()));
    EXPECT_EQ(ownOf(info), "11 12 13 2 1[d1]");

    TevArray<TevString> out = listOf({u"stale", u"entries"});
    info.getDetailHandles(out);
    EXPECT_EQ(join(out), "1[d1]");
}

TEST(TevDerivedObjectBomInfo, SetFromCopiesOwnMembersOrOnlyTheBaseOfAnotherKind) {
    TevDerivedObjectBomInfo src;
    fillBase(src, u"b");
    src.setInfoForUpdate(4, 5, 6, listOf({u"m1", u"m2"}));
    src.setDetailHandles(listOf({u"d1", u"d2"}));
    TevDerivedObjectBomInfo same;
    same.setFrom(&src);
    EXPECT_EQ(sharedOf(same) + ownOf(same), sharedOf(src) + ownOf(src));

    const lumtest::ScopedAssertionRecorder recorder;
    TevDerivedObjectNCInfo other;
    fillBase(other, u"n");
    TevDerivedObjectBomInfo fromOther;
    fromOther.setFrom(&other);
    EXPECT_EQ(sharedOf(fromOther), sharedOf(other));
    EXPECT_EQ(ownOf(fromOther), "-1 -1 3 0 0[]");
    EXPECT_TRUE(recorder.texts().empty());
}

TEST(TevDerivedObjectDetailInfo, ResetRestoresEveryDetailMember) {
    TevDerivedObjectDetailInfo info;
    EXPECT_TRUE(info.getDetExternalObjectState());
    EXPECT_EQ(info.getLogicalObjectSelection(), 0);

    fillDetail(info);
    info.reset();
    EXPECT_EQ(sharedOf(info) + ownOf(info),
              sharedOf(TevDerivedObjectDetailInfo()) + ownOf(TevDerivedObjectDetailInfo()));
    EXPECT_EQ(serverSideOf(info), "d-lbs1[d]");
}

TEST(TevDerivedObjectDetailInfo, PartSettersPadOnlyEmptyServerHandles) {
    TevDerivedObjectDetailInfo info;
    info.setSinglePartsDetailed(listOf({u"p1", u"p2", u"p3"}));
    EXPECT_EQ(join(info.getSinglePartsDetailedServerHandles()), "3[,,]");
    info.setSinglePartsDetailed(listOf({u"q1", u"q2", u"q3", u"q4", u"q5"}));
    EXPECT_EQ(info.getSinglePartsDetailed().length(), 5);
    EXPECT_EQ(join(info.getSinglePartsDetailedServerHandles()), "3[,,]");
    EXPECT_EQ(join(info.getMainPartsDetailedServerHandles()), "0[]");

    info.setMainPartsDetailedServerHandles(listOf({u"srv"}));
    info.setMainPartsDetailed(listOf({u"m1", u"m2"}));
    EXPECT_EQ(join(info.getMainPartsDetailedServerHandles()), "1[srv]");
    info.setMainPartsDetailedServerHandles(TevArray<TevString>());
    EXPECT_EQ(join(info.getMainPartsDetailed()), "2[m1,m2]") << "server handles touch no parts";
    info.setMainPartsDetailed(listOf({u"m3"}));
    EXPECT_EQ(join(info.getMainPartsDetailedServerHandles()), "1[]");
}

TEST(TevDerivedObjectDetailInfo, SetFromCopiesEveryDetailMemberAndMoveKeepsSourceLists) {
    TevDerivedObjectDetailInfo src;
    fillDetail(src);
    TevDerivedObjectDetailInfo same;
    same.setMainPartsDetailedServerHandles(listOf({u"mine"}));
    same.setFrom(&src);
    EXPECT_EQ(sharedOf(same) + ownOf(same), sharedOf(src) + ownOf(src));

    TevDerivedObjectDetailInfo fromBase;
    fromBase.setStyleName(u"kept");
    const TevDerivedObjectInfo baseOnly(src);
    fromBase.setFrom(&baseOnly);
    EXPECT_EQ(sharedOf(fromBase), sharedOf(src));
    EXPECT_EQ(fromBase.getStyleName(), TevString(u"kept"));

    const std::string own = ownOf(src);
    TevDerivedObjectDetailInfo moved(std::move(src));
    EXPECT_EQ(ownOf(moved), own);
    EXPECT_EQ(join(src.getSinglePartsDetailed()), "2[s1,s2]");
    EXPECT_EQ(join(src.getSinglePartsDetailedServerHandles()), "2[ss1,ss2]");
}

TEST(TevDerivedObjectNCInfo, ResetRestoresTheIntegersAndKeepsTheTexts) {
    TevDerivedObjectNCInfo info;
    EXPECT_EQ(ownOf(info), "-1 -1 -1 |||||");

    fillBase(info, u"x");
    info.setStyleKey(2);
    info.setIsDSTVExtension(1);
    info.setIsDSTVNC(0);
    info.setFileWritenForSingleObject(u"p1.nc1");
    info.setFileWritenGlobal(u"all.nc1");
    info.setNcAddinDllName(u"addin.dll");
    info.setNcAddinRunName(u"run");
    info.setDefaultsOverrideXmlPath(u"d.xml");
    info.reset();
    EXPECT_EQ(sharedOf(info), sharedOf(TevDerivedObjectInfo()));
    EXPECT_EQ(ownOf(info), "-1 -1 -1 p1.nc1|all.nc1|addin.dll|run|d.xml|");
}

TEST(TevDerivedObjectNCInfo, RefreshAndCopyAssignmentTakeEveryNcMember) {
    TevDerivedObjectNCInfo src;
    fillBase(src, u"n");
    src.setStyleKey(8);
    src.setIsDSTVNC(1);
    src.setNcAddinRunName(u"run");

    TevDerivedObjectNCInfo refreshed;
    refreshed.refreshInfo(&src, E::eDerivedDocInfoCheckStatus);
    EXPECT_EQ(sharedOf(refreshed) + ownOf(refreshed), sharedOf(src) + ownOf(src));
    EXPECT_EQ(serverSideOf(refreshed), "0[]");

    TevDerivedObjectNCInfo assigned;
    assigned = src;
    EXPECT_EQ(ownOf(assigned) + serverSideOf(assigned), ownOf(src) + serverSideOf(src));
}

} // namespace
