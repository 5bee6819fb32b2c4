#include "TevModelState.h"

#include "TevAssert.h"

TevModelState::TevModelState() {
    for (std::int32_t& mask : m_state) {
        mask = eEventInitial;
    }
}

bool TevModelState::isValid(eFunctionality f) {
    return TEV_ASSERT(f >= eFunctionality0 && f <= eFunctionality3, "isValid( functionality )");
}

int TevModelState::getModelState(eFunctionality f) {
    return isValid(f) ? m_state[f] : 0;
}

void TevModelState::addEvent(eEvent e) {
    for (std::int32_t& mask : m_state) {
        mask |= e;
    }
}

void TevModelState::addEvent(eEvent e, eFunctionality f) {
    if (isValid(f)) {
        m_state[f] |= e;
    }
}

void TevModelState::resetState(eFunctionality f) {
    if (isValid(f)) {
        m_state[f] = 0;
    }
}

void TevModelState::resetState() {
    for (std::int32_t& mask : m_state) {
        mask = 0;
    }
}
