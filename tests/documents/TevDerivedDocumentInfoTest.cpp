#include "TevDerivedDocumentInfo.h"

#include "AssertionRecorder.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using E = TevDerDocEnums;
using Info = TevDerivedDocumentInfo;
using Texts = std::vector<std::string>;

const char* const kNames[] = {"dwgNo",          "approvalDate",    "approvalComment",
                              "approvalStatus", "checkStatus",     "revisions",
                              "lastRevIdx",     "initialFileName", "prototypeName"};
const std::string kAll = "dwgNo approvalDate approvalComment approvalStatus checkStatus "
                         "revisions lastRevIdx initialFileName prototypeName";

// An info whose every field differs from a new info's.
Info filledInfo() {
    Info info;
    info.setDwgNo(u"42", u"ST-");
    info.setApprovalDate(u"2024-05-01");
    info.setApprovalComment(u"approved by the checker");
    info.setApprovalStatusIndex(2);
    info.setCheckStatus(0);
    Info::RevisionTable revisions;
    revisions.append(TevArray<TevString>());
    info.setRevisions(revisions);
    info.setLastRevIdx(u"A");
    info.setInitialFileName(u"C:\\Dwg\\D42.dwg");
    info.setPrototypeName(u"C:\\Proto\\Std.dwg");
    return info;
}

// The fields in the order of kNames; the drawing number as "prefix/number", the revisions
// as their number of rows.
Texts valuesOf(const Info& info) {
    TevString dwgNo, prefix;
    info.getDwgNo(dwgNo, prefix);
    return {prefix.toUtf8() + "/" + dwgNo.toUtf8(), info.getApprovalDate().toUtf8(),
            info.getApprovalComment().toUtf8(),     std::to_string(info.getApprovalStatusIndex()),
            std::to_string(info.getCheckStatus()),  std::to_string(info.getRevisions().length()),
            info.getLastRevIdx().toUtf8(),          info.getInitialFileName().toUtf8(),
            info.getPrototypeName().toUtf8()};
}

// The names of the fields in which `info` agrees with `src`, separated by spaces.
std::string fieldsEqualTo(const Info& info, const Info& src) {
    const Texts mine = valuesOf(info), theirs = valuesOf(src);
    std::string same;
    for (std::size_t field = 0; field < mine.size(); ++field) {
        if (mine[field] == theirs[field]) {
            same += (same.empty() ? "" : " ") + std::string(kNames[field]);
        }
    }
    return same;
}

TEST(TevDerivedDocumentInfo, RefreshInfoCopiesThePartsAskedForAndNothingFromANullSource) {
    const std::tuple<int, bool, std::string> cases[] = {
        {E::eDerivedDocInfoDwgNo, true, "dwgNo approvalComment"},
        {E::eDerivedDocInfoDwgNo, false, "dwgNo"},
        {E::eDerivedDocInfoCheckStatus, true, "approvalComment checkStatus"},
        {E::eDerivedDocInfoApproval, true, "approvalDate approvalComment approvalStatus"},
        {E::eDerivedDocInfoApproval, false, ""},
        {E::eDerivedDocInfoRevisions, false, "revisions lastRevIdx initialFileName"},
        {E::eDerivedDocInfoRevisions, true, "revisions lastRevIdx initialFileName"},
        {15, true, kAll.substr(0, kAll.rfind(' '))}, // all but the prototype name
        {E::eDerivedDocInfoAll, false, "dwgNo revisions lastRevIdx initialFileName prototypeName"},
        {E::eDerivedDocInfoAll, true, kAll},
    };
    const Info src = filledInfo();
    for (const auto& [what, withApproval, copied] : cases) {
        Info info;
        info.refreshInfo(&src, static_cast<E::eDerivedDocInfo>(what), withApproval);
        EXPECT_EQ(fieldsEqualTo(info, src), copied)
            << "what " << what << ", withApproval " << withApproval;
    }

    const lumtest::ScopedAssertionRecorder recorder;
    Info info = filledInfo();
    info.setFrom(nullptr, true);
    info.refreshInfo(nullptr, E::eDerivedDocInfoAll, true);
    info.refreshInfo(nullptr, E::eDerivedDocInfoDwgNo, false);
    EXPECT_EQ(recorder.texts(), (Texts{"src", "src", "src"}));
}

} // namespace
