#include "TevProcessEvolutionManager.h"

namespace {

TevProcessEvolutionManager* installedManager = nullptr;

} // namespace

TevProcessEvolutionManager::~TevProcessEvolutionManager() {
    if (installedManager == this) {
        installedManager = nullptr;
    }
}

TevProcessEvolutionManager* TevProcessEvolutionManager::getProcessEvolutionManager() {
    return installedManager;
}

void TevProcessEvolutionManager::setProcessEvolutionManager(TevProcessEvolutionManager* manager) {
    installedManager = manager;
}

int TevProcessEvolutionManager::getKeyForAction(const TevString& action) {
    for (int index = 0; index < m_actions.length(); ++index) {
        if (m_actions[index] == action) {
            return index + 1;
        }
    }
    m_actions.append(action);
    m_progress.append(0);
    return m_actions.length();
}

void TevProcessEvolutionManager::increaseProgress(int key, int amount) {
    if (m_progress.isValid(key - 1) && amount > m_progress[key - 1]) {
        m_progress[key - 1] = amount;
    }
}

int TevProcessEvolutionManager::getProgress(int key) const {
    return m_progress.isValid(key - 1) ? m_progress[key - 1] : 0;
}

TevString TevProcessEvolutionManager::getActionName(int key) const {
    return m_actions.isValid(key - 1) ? m_actions[key - 1] : TevString();
}
