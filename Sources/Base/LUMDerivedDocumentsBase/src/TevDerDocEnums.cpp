#include "TevDerDocEnums.h"

namespace {
// Statuses above this one are error states of an object.
constexpr int kHighestNonErrorStatus = 1000;
} // namespace

int TevDerDocEnums::displayCode(ErrorStatus status) {
    switch (status) {
    case eStatusError1002:
        return eDisplayError1002;
    case eStatusError1008:
        return eDisplayError1008;
    case eStatusFileMissing:
        return eDisplayFileMissing;
    case eStatusError6:
        return eDisplayError6;
    case eStatusUndetermined:
        return eDisplayUndetermined;
    default:
        return status > kHighestNonErrorStatus ? eDisplayOtherError : static_cast<int>(status);
    }
}
