#include "TevDerDocEnums.h"

int TevDerDocEnums::displayCode(ErrorStatus status) {
    switch (status) {
    case eStatusError1002:
        return -4;
    case eStatusError1008:
        return -3;
    case eStatusFileMissing:
        return -2;
    case eStatusError6:
        return -1;
    case eStatusUndetermined:
        return 3;
    default:
        return status > 1000 ? -5 : static_cast<int>(status);
    }
}
