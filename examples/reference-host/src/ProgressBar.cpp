#include "ProgressBar.h"

#include <algorithm>
#include <iostream>
#include <string>

void ProgressBar::increaseProgress(int key, int amount) {
    TevProcessEvolutionManager::increaseProgress(key, amount);
    if (!m_visible) {
        return;
    }
    const int level = std::clamp(amount, 0, kSteps);
    if (level == m_drawnLevel) {
        return;
    }
    m_drawnLevel = level == kSteps ? kNotDrawn : level;
    const std::string bar = std::string(static_cast<std::size_t>(level), '#') +
                            std::string(static_cast<std::size_t>(kSteps - level), '.');
    std::cerr << '\r' << getActionName(key).toUtf8() << " [" << bar << "]";
    if (level == kSteps) {
        std::cerr << '\n';
    }
    std::cerr.flush();
}
