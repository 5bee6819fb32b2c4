#include "TevDerivedObjectDuplicateInfo.h"

#include "TevDerivedObject.h"

TevDerivedObjectDuplicateInfo::TevDerivedObjectDuplicateInfo(
    const TevArray<TevDerivedObject*>& objects)
    : m_objects(objects) {}

TevDerivedObjectDuplicateInfo::~TevDerivedObjectDuplicateInfo() {
    // Only members that point here: a copy of a group must not unhook the members of
    // the group it was copied from.
    for (TevDerivedObject* obj : m_objects) {
        if (obj != nullptr && obj->getDuplicateInfo() == this) {
            obj->setDuplicateInfo(nullptr);
        }
    }
}

bool TevDerivedObjectDuplicateInfo::objectsAreDuplicated() const {
    return m_objects.length() >= 2;
}

bool TevDerivedObjectDuplicateInfo::removeObject(TevDerivedObject* obj) {
    for (int index = 0; index < m_objects.length(); ++index) {
        if (m_objects[index] == obj) {
            if (obj != nullptr) {
                obj->setDuplicateInfo(nullptr);
            }
            m_objects.removeAt(index);
            return true;
        }
    }
    return false;
}

const TevArray<TevDerivedObject*>& TevDerivedObjectDuplicateInfo::getObjects() const {
    return m_objects;
}

bool TevDerivedObjectDuplicateInfo::hasObject(const TevDerivedObject* obj) const {
    for (const TevDerivedObject* member : m_objects) {
        if (member == obj) {
            return true;
        }
    }
    return false;
}

void TevDerivedObjectDuplicateInfo::appendObject(TevDerivedObject* obj) {
    m_objects.append(obj);
}
