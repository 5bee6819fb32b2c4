#include "TevDerivedDocumentInfo.h"

#include "AssertionRecorder.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using E = TevDerDocEnums;
using Fields = std::set<std::string>;
using Revisions = TevArray<TevArray<TevString>>;

const Fields kAllFields = {"dwgNo",          "approvalDate",    "approvalComment",
                           "approvalStatus", "checkStatus",     "revisions",
                           "lastRevIdx",     "initialFileName", "prototypeName"};

std::string textOf(const Revisions& revisions) {
    std::string text;
    for (const TevArray<TevString>& row : revisions) {
        for (const TevString& cell : row) {
            text += cell.toUtf8() + "|";
        }
        text += "\n";
    }
    return text;
}

// An info whose every field differs from a new info's.
TevDerivedDocumentInfo filledInfo() {
    TevDerivedDocumentInfo info;
    info.setDwgNo(u"42", u"ST-");
    info.setApprovalDate(u"2024-05-01");
    info.setApprovalComment(u"approved by the checker");
    info.setApprovalStatusIndex(2);
    info.setCheckStatus(0);
    TevArray<TevString> revision;
    revision.append(u"A");
    revision.append(u"first issue");
    Revisions revisions;
    revisions.append(revision);
    info.setRevisions(revisions);
    info.setLastRevIdx(u"A");
    info.setInitialFileName(u"C:\\Dwg\\D42.dwg");
    info.setPrototypeName(u"C:\\Proto\\Std.dwg");
    return info;
}

// The names of the fields in which `info` agrees with `src`; the drawing number counts
// only when its prefix agrees too.
Fields fieldsEqualTo(const TevDerivedDocumentInfo& info, const TevDerivedDocumentInfo& src) {
    Fields same;
    TevString dwgNo, prefix, srcDwgNo, srcPrefix;
    info.getDwgNo(dwgNo, prefix);
    src.getDwgNo(srcDwgNo, srcPrefix);
    const std::pair<const char*, bool> checks[] = {
        {"dwgNo", dwgNo == srcDwgNo && prefix == srcPrefix},
        {"approvalDate", info.getApprovalDate() == src.getApprovalDate()},
        {"approvalComment", info.getApprovalComment() == src.getApprovalComment()},
        {"approvalStatus", info.getApprovalStatusIndex() == src.getApprovalStatusIndex()},
        {"checkStatus", info.getCheckStatus() == src.getCheckStatus()},
        {"revisions", textOf(info.getRevisions()) == textOf(src.getRevisions())},
        {"lastRevIdx", info.getLastRevIdx() == src.getLastRevIdx()},
        {"initialFileName", info.getInitialFileName() == src.getInitialFileName()},
        {"prototypeName", info.getPrototypeName() == src.getPrototypeName()},
    };
    for (const auto& [name, equal] : checks) {
        if (equal) {
            same.insert(name);
        }
    }
    return same;
}

TEST(TevDerivedDocumentInfo, NewAndResetInfosHoldTheInitialValues) {
    const TevDerivedDocumentInfo fresh;
    EXPECT_EQ(fresh.getCheckStatus(), 1);
    EXPECT_EQ(fresh.getApprovalStatusIndex(), 0);
    EXPECT_TRUE(fresh.getRevisions().isEmpty());
    EXPECT_TRUE(fieldsEqualTo(fresh, filledInfo()).empty());

    TevDerivedDocumentInfo info = filledInfo();
    info.reset();
    EXPECT_EQ(fieldsEqualTo(info, fresh), kAllFields);
}

TEST(TevDerivedDocumentInfo, FileNameSettersDropTheFolderAndTheDrawingExtension) {
    TevDerivedDocumentInfo info;
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"C:\\A\\B\\D1.DWG", u"D1"}, {u"C:\\A\\B\\D1.pdf", u"D1.pdf"},  {u"D1", u"D1"},
        {u"/a/b/D1.Dwg", u"D1"},      {u"D:rel\\x.tar.gz", u"x.tar.gz"},
    };
    for (const auto& [path, expected] : cases) {
        info.setInitialFileName(path);
        EXPECT_EQ(info.getInitialFileName(), TevString(expected)) << TevString(path).toUtf8();
    }
    info.setPrototypeName(u"C:\\Proto\\Std.dwg");
    EXPECT_EQ(info.getPrototypeName(), TevString(u"Std"));
    info.setPrototypeName(u"C:/Proto/Std.v2.pdf");
    EXPECT_EQ(info.getPrototypeName(), TevString(u"Std.v2"));
}

TEST(TevDerivedDocumentInfo, SetFromCopiesTheApprovalOnlyWhenAsked) {
    const TevDerivedDocumentInfo src = filledInfo();
    TevDerivedDocumentInfo without;
    without.setFrom(&src, false);
    EXPECT_EQ(fieldsEqualTo(without, src),
              (Fields{"dwgNo", "revisions", "lastRevIdx", "initialFileName", "prototypeName"}));
    TevDerivedDocumentInfo with;
    with.setFrom(&src, true);
    EXPECT_EQ(fieldsEqualTo(with, src), kAllFields);
}

TEST(TevDerivedDocumentInfo, RefreshInfoCopiesThePartsTheBitsSelect) {
    struct Case {
        int what;
        bool withApproval;
        Fields copied;
    };
    const Fields revisionParts = {"revisions", "lastRevIdx", "initialFileName"};
    Fields allButPrototype = kAllFields;
    allButPrototype.erase("prototypeName");
    const Case cases[] = {
        {E::eDerivedDocInfoDwgNo, true, {"dwgNo", "approvalComment"}},
        {E::eDerivedDocInfoDwgNo, false, {"dwgNo"}},
        {E::eDerivedDocInfoCheckStatus, true, {"checkStatus", "approvalComment"}},
        {E::eDerivedDocInfoApproval, true, {"approvalDate", "approvalStatus", "approvalComment"}},
        {E::eDerivedDocInfoApproval, false, {}},
        {E::eDerivedDocInfoRevisions, false, revisionParts},
        {E::eDerivedDocInfoRevisions, true, revisionParts},
        {15, true, allButPrototype},
        {E::eDerivedDocInfoAll,
         false,
         {"dwgNo", "revisions", "lastRevIdx", "initialFileName", "prototypeName"}},
        {E::eDerivedDocInfoAll, true, kAllFields},
    };
    const TevDerivedDocumentInfo src = filledInfo();
    for (const Case& c : cases) {
        TevDerivedDocumentInfo info;
        info.refreshInfo(&src, static_cast<E::eDerivedDocInfo>(c.what), c.withApproval);
        EXPECT_EQ(fieldsEqualTo(info, src), c.copied)
            << "what " << c.what << ", withApproval " << c.withApproval;
    }
}

TEST(TevDerivedDocumentInfo, NullSourceIsReportedAndChangesNothing) {
    const lumtest::ScopedAssertionRecorder recorder;
    TevDerivedDocumentInfo info = filledInfo();
    info.setFrom(nullptr, true);
    info.refreshInfo(nullptr, E::eDerivedDocInfoAll, true);
    info.refreshInfo(nullptr, E::eDerivedDocInfoDwgNo, false);
    EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"src", "src", "src"}));
    EXPECT_EQ(fieldsEqualTo(info, filledInfo()), kAllFields);
}

TEST(TevDerivedDocumentInfo, CopyAndMoveCopyEveryFieldAndLeaveTheSource) {
    TevDerivedDocumentInfo src = filledInfo();
    const TevDerivedDocumentInfo copy(src);
    TevDerivedDocumentInfo assigned;
    assigned = src;
    TevDerivedDocumentInfo moved(std::move(src));
    TevDerivedDocumentInfo moveAssigned;
    moveAssigned = std::move(src);
    for (const TevDerivedDocumentInfo* info : std::initializer_list<const TevDerivedDocumentInfo*>{
             &copy, &assigned, &moved, &moveAssigned, &src}) {
        EXPECT_EQ(fieldsEqualTo(*info, filledInfo()), kAllFields);
    }
}

// A host's info with a field of its own, to see the virtual slots at work.
class HostDocumentInfo : public TevDerivedDocumentInfo {
public:
    void setFrom(const TevDerivedDocumentInfo* src, bool withApproval) override {
        TevDerivedDocumentInfo::setFrom(src, withApproval);
        m_setFromCalls.push_back(withApproval);
    }

    std::vector<bool> m_setFromCalls;
    TevString m_hostText = u"a host text long enough to live on the heap";
};

TEST(TevDerivedDocumentInfo, RefreshAllGoesThroughTheVirtualSetFromAndSubclassesDieWhole) {
    const TevDerivedDocumentInfo src = filledInfo();
    std::unique_ptr<TevDerivedDocumentInfo> info = std::make_unique<HostDocumentInfo>();
    info->refreshInfo(&src, E::eDerivedDocInfoAll, true);
    info->refreshInfo(&src, E::eDerivedDocInfoRevisions, true);
    EXPECT_EQ(static_cast<HostDocumentInfo&>(*info).m_setFromCalls, std::vector<bool>{true});
    EXPECT_EQ(fieldsEqualTo(*info, src), kAllFields);
    info.reset(); // the leak checker reports the host's text if it were left behind
}

} // namespace
