#include "TevDerDocEnums.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using E = TevDerDocEnums;

static_assert(std::is_same_v<std::underlying_type_t<E::eDocType>, std::int32_t>);
static_assert(std::is_same_v<std::underlying_type_t<E::ErrorStatus>, std::int32_t>);
static_assert(std::is_same_v<std::underlying_type_t<E::eDlgDocManMessage>, std::int32_t>);
static_assert(std::is_empty_v<TevDerDocEnums>, "a scope without data");

TEST(TevDerDocEnums, KeepsTheValuesHostsStore) {
    EXPECT_EQ((std::vector<int>{E::eDocTypeDetail, E::eDocTypeBom, E::eDocTypeNC, E::eDocTypeAll}),
              (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ((std::vector<int>{E::eDocSubTypeDstv, E::eDocSubTypeNCNamed, E::eDocSubTypeNCDxf,
                                E::eDocSubTypeNone, E::eDocSubTypeAll}),
              (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ((std::vector<int>{E::eStatusOk, E::eStatusRecheck, E::eStatusError6,
                                E::eStatusUndetermined, E::eStatusFileMissing, E::eStatusError1002,
                                E::eStatusError1008, E::eStatusNotSupported, E::eStatusFailed}),
              (std::vector<int>{0, 3, 6, 9, 1001, 1002, 1008, 2001, 2002}));
    EXPECT_EQ((std::vector<int>{E::eModificationNone, E::eModificationObsolete}),
              (std::vector<int>{0, 1}));
    EXPECT_EQ((std::vector<int>{E::eDerivedDocInfoAll, E::eDerivedDocInfoRevisions,
                                E::eDerivedDocInfoDwgNo, E::eDerivedDocInfoApproval,
                                E::eDerivedDocInfoCheckStatus}),
              (std::vector<int>{-1, 1, 2, 4, 8}));
    EXPECT_EQ((std::vector<int>{E::eDlgDocManMsgUpdate, E::eDlgDocManMsgRefresh,
                                E::eDlgDocManMsgRefreshAlt, E::eDlgDocManMsgRecheck,
                                E::eDlgDocManMsgUpdateSpecial, E::eDlgDocManMsgSetApprovalStatus,
                                E::eDlgDocManMsgReserved6, E::eDlgDocManMsgRefreshRevisions,
                                E::eDlgDocManMsgUpdateObject, E::eDlgDocManMsgCheckOn,
                                E::eDlgDocManMsgCheckOff, E::eDlgDocManMsgReserved11,
                                E::eDlgDocManMsgRename, E::eDlgDocManMsgUpdateAlt,
                                E::eDlgDocManMsgSetApprovalComment}),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(E::eObjectModified, 1);
}

TEST(TevDerDocEnums, DisplayCodeFollowsTheStatusRule) {
    const std::vector<std::pair<int, int>> cases = {
        {1002, -4}, {1008, -3},   {1001, -2}, {6, -1}, {9, 3},   {1003, -5}, {2001, -5},
        {2002, -5}, {1000, 1000}, {0, 0},     {3, 3},  {-7, -7}, {1, 1},     {12345, -5}};
    for (const auto& [status, code] : cases) {
        EXPECT_EQ(TevDerDocEnums::displayCode(static_cast<E::ErrorStatus>(status)), code)
            << "status " << status;
    }
}

} // namespace
