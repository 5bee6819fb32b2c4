// The host interfaces' records: the document-manager row's copies and the starting
// values hosts read, and the prompts.
#include "LumDerivedDocumentsBase.h"
#include "TestSupport.h"

#include <cstdint>

namespace {

using Row = TevDocManObject;

// The fields of a row, by kind: texts and numbers; restOf has the others.
template <class R>
auto textsOf(R& r) {
    return std::tie(r.m_fileName, r.m_newName, r.m_newApprovalComment, r.m_path, r.m_title,
                    r.m_date, r.m_styleName, r.m_processName, r.m_scale, r.m_detailHandle,
                    r.m_approvalDate, r.m_approvalComment, r.m_lastRevIdx, r.m_lastRevisionEntry1,
                    r.m_lastRevisionEntry2, r.m_lastRevisionEntry3, r.m_lastRevisionEntry4,
                    r.m_ncDxfName, r.m_ncName, r.m_prototypeName, r.m_fullDwgNo);
}
template <class R>
auto numbersOf(R& r) {
    return std::tie(r.m_objectStatus, r.m_category, r.m_subCategory, r.m_commandActive,
                    r.m_approvalStatusIndex, r.m_checkStatus, r.m_logicalObjectSelection);
}
template <class R>
auto othersOf(R& r) {
    return std::tie(r.m_singlePartsDetailed, r.m_mainPartsDetailed, r.m_revisions,
                    r.m_derivedObject, r.m_detExternalObjectState, r.m_removed);
}
auto restOf(const Row& r) {
    return std::make_tuple(r.m_singlePartsDetailed.length(), r.m_mainPartsDetailed.length(),
                           r.m_revisions.length(), r.getDeletedStatus(), r.m_derivedObject,
                           r.m_detExternalObjectState, r.m_removed);
}

// A row whose every field holds a value of its own, derived from `seed`.
Row filledRow(int seed) {
    Row row;
    int field = 0;
    std::apply([&](auto&... t) { (t.format(u"%d.%d", seed, ++field), ...); }, textsOf(row));
    std::apply([&](auto&... n) { ((n = seed * 100 + ++field), ...); }, numbersOf(row));
    row.m_singlePartsDetailed.append(TevString(std::to_string(seed * 100 + ++field).c_str()));
    row.m_mainPartsDetailed.append(TevString(std::to_string(seed * 100 + ++field).c_str()));
    row.m_revisions.append(row.m_singlePartsDetailed);
    row.setDeletedStatus(seed);
    // Rows only compare the address; it is never followed.
    row.m_derivedObject = reinterpret_cast<TevDerivedObject*>(std::uintptr_t{0x1000} + 16U * seed);
    row.m_detExternalObjectState = row.m_removed = seed % 2 != 0;
    return row;
}

void expectSameFields(const Row& a, const Row& b) {
    EXPECT_EQ(textsOf(a), textsOf(b));
    EXPECT_EQ(numbersOf(a), numbersOf(b));
    ASSERT_EQ(restOf(a), restOf(b));
    EXPECT_EQ(std::tie(a.m_singlePartsDetailed[0], a.m_mainPartsDetailed[0], a.m_revisions[0][0]),
              std::tie(b.m_singlePartsDetailed[0], b.m_mainPartsDetailed[0], b.m_revisions[0][0]));
}

// The assignment is written out field by field: a field added to the row and not copied
// there fails here once it is added to the lists above.
// The lists above hold every field of the row, so that the copies below are checked for
// each: a field added to the row fails here until it is listed.
TEST(TevDocManObject, TheFieldListsHoldEveryFieldOfTheRow) {
    const Row row;
    EXPECT_EQ(
        lumtest::roomForUnlistedFields(row, sizeof(TevTableObject),
                                       std::tuple_cat(textsOf(row), numbersOf(row), othersOf(row))),
        "");
}

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
    EXPECT_TRUE(Prompts::getPrompt(u"GUI", 45034).isEmpty() &&
                Prompts::getPrompt(u"GUI", 45032).isEmpty());
    Prompts::setPrompt(u"TEST", 1, u"Prüfe");
    Prompts::setPrompt(u"TEST", 1, u"Prüfen");
    Prompts::setPrompt(u"TEST", 2, u"Zwei");
    EXPECT_EQ(Prompts::getPrompt(u"TEST", 1) + u"|" + Prompts::getPrompt(u"TEST", 2),
              TevString(u"Prüfen|Zwei"));
}

} // namespace
