#include "LumTable/TevDocManObject.h"
#include "QXNativeDataObjects/TevDocumentApproval.h"
#include "QXRepositoryProxy/Prompts.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace {

using Row = TevDocManObject;

constexpr TevString Row::*kTexts[] = {&Row::m_fileName,
                                      &Row::m_newName,
                                      &Row::m_newApprovalComment,
                                      &Row::m_path,
                                      &Row::m_title,
                                      &Row::m_date,
                                      &Row::m_styleName,
                                      &Row::m_processName,
                                      &Row::m_scale,
                                      &Row::m_detailHandle,
                                      &Row::m_approvalDate,
                                      &Row::m_approvalComment,
                                      &Row::m_lastRevIdx,
                                      &Row::m_lastRevisionEntry1,
                                      &Row::m_lastRevisionEntry2,
                                      &Row::m_lastRevisionEntry3,
                                      &Row::m_lastRevisionEntry4,
                                      &Row::m_ncDxfName,
                                      &Row::m_ncName,
                                      &Row::m_prototypeName,
                                      &Row::m_fullDwgNo};
constexpr int Row::*kNumbers[] = {&Row::m_objectStatus,          &Row::m_category,
                                  &Row::m_subCategory,           &Row::m_commandActive,
                                  &Row::m_approvalStatusIndex,   &Row::m_checkStatus,
                                  &Row::m_logicalObjectSelection};
constexpr TevArray<TevString> Row::*kLists[] = {&Row::m_singlePartsDetailed,
                                                &Row::m_mainPartsDetailed};

// A row whose every field holds a value of its own, derived from `seed`.
Row filledRow(int seed) {
    Row row;
    int field = 0;
    for (TevString Row::*text : kTexts) {
        (row.*text).format(u"%d.%d", seed, ++field);
    }
    for (int Row::*number : kNumbers) {
        row.*number = seed * 100 + ++field;
    }
    for (TevArray<TevString> Row::*list : kLists) {
        (row.*list).append(TevString(std::to_string(seed * 100 + ++field).c_str()));
    }
    row.m_revisions.append(row.m_singlePartsDetailed);
    row.setDeletedStatus(seed);
    // Rows only compare the address; it is never followed.
    row.m_derivedObject = reinterpret_cast<TevDerivedObject*>(std::uintptr_t{0x1000} + 16U * seed);
    row.m_detExternalObjectState = row.m_removed = seed % 2 != 0;
    return row;
}

void expectSameFields(const Row& a, const Row& b) {
    for (TevString Row::*text : kTexts) {
        EXPECT_EQ(a.*text, b.*text);
    }
    for (int Row::*number : kNumbers) {
        EXPECT_EQ(a.*number, b.*number);
    }
    for (TevArray<TevString> Row::*list : kLists) {
        ASSERT_EQ((a.*list).length(), (b.*list).length());
        EXPECT_EQ((a.*list)[0], (b.*list)[0]);
    }
    ASSERT_EQ(a.m_revisions.length(), b.m_revisions.length());
    EXPECT_EQ(a.m_revisions[0][0], b.m_revisions[0][0]);
    EXPECT_EQ(a.getDeletedStatus(), b.getDeletedStatus());
    EXPECT_EQ(a.m_derivedObject, b.m_derivedObject);
    EXPECT_EQ(a.m_detExternalObjectState, b.m_detExternalObjectState);
    EXPECT_EQ(a.m_removed, b.m_removed);
}

// The assignment is written out field by field: a field added to the row and not copied
// there fails here, as long as it is added to the lists above.
TEST(TevDocManObject, AssignmentCopiesEveryFieldAndTablesMoveRowsWhole) {
    const Row source = filledRow(7);
    Row target = filledRow(4);
    const Row& result = (target = source);
    EXPECT_EQ(&result, &target);
    expectSameFields(target, source);
    target = target;
    expectSameFields(target, source);
    // A move takes every field over and leaves the source's texts and lists empty.
    Row from = filledRow(7), moved(filledRow(2));
    moved = std::move(from);
    expectSameFields(moved, source);
    expectSameFields(Row(std::move(moved)), source);
    EXPECT_TRUE(from.m_title.isEmpty() && from.m_revisions.isEmpty() &&
                moved.m_fullDwgNo.isEmpty());

    TevArray<Row> table;
    for (int seed = 0; seed < 10; ++seed) {
        table.append(filledRow(seed));
    }
    table.removeAt(0);
    expectSameFields(table[0], filledRow(1));
    expectSameFields(table.last(), filledRow(9));
}

// Hosts read these starting values as "no category yet" and "not approved, checked".
TEST(HostRecords, StartWithTheValuesHostsReadAsUnset) {
    const Row row;
    EXPECT_EQ(row.m_category * 10 + row.m_subCategory, -11);
    const TevDocumentApproval approval;
    EXPECT_EQ(approval.m_statusIndex * 10 + approval.m_checkStatus, 1);
}

TEST(Prompts, ShipsTheCheckActionAndKeepsWhatIsSet) {
    EXPECT_EQ(Prompts::getPrompt(u"GUI", 45033), TevString(u"Checking derived documents"));
    EXPECT_TRUE(Prompts::getPrompt(u"gui", 45033).isEmpty()) << "sections compare exactly";
    EXPECT_TRUE(Prompts::getPrompt(u"GUI", 45034).isEmpty());
    EXPECT_TRUE(Prompts::getPrompt(u"GUI", 45032).isEmpty());
    Prompts::setPrompt(u"TEST", 1, u"Prüfe");
    Prompts::setPrompt(u"TEST", 1, u"Prüfen");
    Prompts::setPrompt(u"TEST", 2, u"Zwei");
    EXPECT_EQ(Prompts::getPrompt(u"TEST", 1), TevString(u"Prüfen"));
    EXPECT_EQ(Prompts::getPrompt(u"TEST", 2), TevString(u"Zwei"));
}

} // namespace
