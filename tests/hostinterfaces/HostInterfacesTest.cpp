#include "LumTable/TevDocManObject.h"
#include "QXNativeDataObjects/StructProjModelExtract.h"
#include "QXNativeDataObjects/StructProjReport.h"
#include "QXNativeDataObjects/TevDocumentApproval.h"
#include "QXRepositoryProxy/Prompts.h"

#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TevDocManObject filledRow(int seed) {
    TevDocManObject row;
    TevString text;
    text.format(u"text %d", seed);
    row.setDeletedStatus(seed);
    row.m_fileName = row.m_newName = row.m_newApprovalComment = row.m_path = text;
    row.m_title = row.m_date = row.m_styleName = row.m_processName = row.m_scale = text;
    row.m_detailHandle = row.m_approvalDate = row.m_approvalComment = row.m_lastRevIdx = text;
    row.m_lastRevisionEntry1 = row.m_lastRevisionEntry2 = row.m_lastRevisionEntry3 = text;
    row.m_lastRevisionEntry4 = row.m_ncDxfName = row.m_ncName = row.m_prototypeName = text;
    row.m_fullDwgNo = text;
    row.m_objectStatus = row.m_category = row.m_subCategory = row.m_commandActive = seed;
    row.m_approvalStatusIndex = row.m_checkStatus = row.m_logicalObjectSelection = seed;
    // Rows only compare the address; it is never followed.
    row.m_derivedObject = reinterpret_cast<TevDerivedObject*>(std::uintptr_t{0x1000} +
                                                              16U * static_cast<unsigned>(seed));
    row.m_detExternalObjectState = true;
    row.m_removed = true;
    TevArray<TevString> revision;
    revision.append(text);
    row.m_revisions.append(revision);
    row.m_singlePartsDetailed.append(text);
    row.m_mainPartsDetailed.append(text);
    return row;
}

void expectSameFields(const TevDocManObject& a, const TevDocManObject& b) {
    EXPECT_EQ(a.getDeletedStatus(), b.getDeletedStatus());
    for (const TevString TevDocManObject::*field : {&TevDocManObject::m_fileName,
                                                    &TevDocManObject::m_newName,
                                                    &TevDocManObject::m_newApprovalComment,
                                                    &TevDocManObject::m_path,
                                                    &TevDocManObject::m_title,
                                                    &TevDocManObject::m_date,
                                                    &TevDocManObject::m_styleName,
                                                    &TevDocManObject::m_processName,
                                                    &TevDocManObject::m_scale,
                                                    &TevDocManObject::m_detailHandle,
                                                    &TevDocManObject::m_approvalDate,
                                                    &TevDocManObject::m_approvalComment,
                                                    &TevDocManObject::m_lastRevIdx,
                                                    &TevDocManObject::m_lastRevisionEntry1,
                                                    &TevDocManObject::m_lastRevisionEntry2,
                                                    &TevDocManObject::m_lastRevisionEntry3,
                                                    &TevDocManObject::m_lastRevisionEntry4,
                                                    &TevDocManObject::m_ncDxfName,
                                                    &TevDocManObject::m_ncName,
                                                    &TevDocManObject::m_prototypeName,
                                                    &TevDocManObject::m_fullDwgNo}) {
        EXPECT_EQ(a.*field, b.*field);
    }
    for (const int TevDocManObject::*field :
         {&TevDocManObject::m_objectStatus, &TevDocManObject::m_category,
          &TevDocManObject::m_subCategory, &TevDocManObject::m_commandActive,
          &TevDocManObject::m_approvalStatusIndex, &TevDocManObject::m_checkStatus,
          &TevDocManObject::m_logicalObjectSelection}) {
        EXPECT_EQ(a.*field, b.*field);
    }
    EXPECT_EQ(a.m_derivedObject, b.m_derivedObject);
    EXPECT_EQ(a.m_detExternalObjectState, b.m_detExternalObjectState);
    EXPECT_EQ(a.m_removed, b.m_removed);
    ASSERT_EQ(a.m_revisions.length(), b.m_revisions.length());
    for (int index = 0; index < a.m_revisions.length(); ++index) {
        ASSERT_EQ(a.m_revisions[index].length(), b.m_revisions[index].length());
        for (int entry = 0; entry < a.m_revisions[index].length(); ++entry) {
            EXPECT_EQ(a.m_revisions[index][entry], b.m_revisions[index][entry]);
        }
    }
    ASSERT_EQ(a.m_singlePartsDetailed.length(), b.m_singlePartsDetailed.length());
    ASSERT_EQ(a.m_mainPartsDetailed.length(), b.m_mainPartsDetailed.length());
    if (!a.m_mainPartsDetailed.isEmpty()) {
        EXPECT_EQ(a.m_mainPartsDetailed[0], b.m_mainPartsDetailed[0]);
        EXPECT_EQ(a.m_singlePartsDetailed[0], b.m_singlePartsDetailed[0]);
    }
}

TEST(TevDocManObject, StartsEmptyWithCategoriesAtMinusOne) {
    const TevDocManObject row;
    EXPECT_EQ(row.m_category, -1);
    EXPECT_EQ(row.m_subCategory, -1);
    EXPECT_EQ(row.m_derivedObject, nullptr);
    EXPECT_FALSE(row.m_removed);
    EXPECT_FALSE(row.m_detExternalObjectState);
    EXPECT_EQ(row.getDeletedStatus(), 0);
    TevDocManObject expected = filledRow(0);
    expected.setDeletedStatus(0);
    for (TevString* text : {&expected.m_fileName,
                            &expected.m_newName,
                            &expected.m_newApprovalComment,
                            &expected.m_path,
                            &expected.m_title,
                            &expected.m_date,
                            &expected.m_styleName,
                            &expected.m_processName,
                            &expected.m_scale,
                            &expected.m_detailHandle,
                            &expected.m_approvalDate,
                            &expected.m_approvalComment,
                            &expected.m_lastRevIdx,
                            &expected.m_lastRevisionEntry1,
                            &expected.m_lastRevisionEntry2,
                            &expected.m_lastRevisionEntry3,
                            &expected.m_lastRevisionEntry4,
                            &expected.m_ncDxfName,
                            &expected.m_ncName,
                            &expected.m_prototypeName,
                            &expected.m_fullDwgNo}) {
        *text = TevString();
    }
    expected.m_category = expected.m_subCategory = -1;
    expected.m_derivedObject = nullptr;
    expected.m_removed = expected.m_detExternalObjectState = false;
    expected.m_revisions = TevArray<TevArray<TevString>>();
    expected.m_singlePartsDetailed = expected.m_mainPartsDetailed = TevArray<TevString>();
    expectSameFields(row, expected);
}

TEST(TevDocManObject, CopyAssignmentCopiesEveryFieldIncludingTheRemovalMark) {
    const TevDocManObject source = filledRow(7);
    TevDocManObject target = filledRow(3);
    const TevDocManObject& result = (target = source);
    EXPECT_EQ(&result, &target);
    expectSameFields(target, source);

    TevArray<TevDocManObject> table;
    for (int seed = 0; seed < 10; ++seed) {
        table.append(filledRow(seed));
    }
    table.removeAt(0);
    expectSameFields(table[0], filledRow(1));
    expectSameFields(table.last(), filledRow(9));
}

TEST(HostRecords, StartWithTheirDocumentedValues) {
    const StructProjReport report;
    EXPECT_EQ(report.m_number, 0);
    EXPECT_TRUE(report.m_name.isEmpty() && report.m_filePath.isEmpty());
    const StructProjModelExtract extract;
    EXPECT_EQ(extract.m_number, 0);
    const TevDocumentApproval approval;
    EXPECT_EQ(approval.m_statusIndex, 0);
    EXPECT_EQ(approval.m_checkStatus, 1);
}

TEST(Prompts, ShipsTheCheckActionAndKeepsWhatIsSet) {
    EXPECT_EQ(Prompts::getPrompt(u"GUI", 45033), TevString(u"Checking derived documents"));
    EXPECT_TRUE(Prompts::getPrompt(u"gui", 45033).isEmpty()) << "sections compare exactly";
    EXPECT_TRUE(Prompts::getPrompt(u"GUI", 45034).isEmpty());

    Prompts::setPrompt(u"TEST", 1, u"Prüfe");
    EXPECT_EQ(Prompts::getPrompt(u"TEST", 1), TevString(u"Prüfe"));
    Prompts::setPrompt(u"TEST", 1, u"Prüfen");
    EXPECT_EQ(Prompts::getPrompt(u"TEST", 1), TevString(u"Prüfen"));
}

} // namespace
