#include "LumTable/TevTableObject.h"

TevTableObject::~TevTableObject() = default;

void TevTableObject::setDeletedStatus(int status) {
    m_deletedStatus = status;
}

int TevTableObject::getDeletedStatus() const {
    return m_deletedStatus;
}
