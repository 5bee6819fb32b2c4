// The host's progress display: a bar on stderr, drawn only when stderr is a terminal
// so that redirected output stays clean.
#ifndef LUM_REFERENCE_HOST_PROGRESS_BAR_H
#define LUM_REFERENCE_HOST_PROGRESS_BAR_H

#include "LumDerivedDocumentsBase.h"

class ProgressBar final : public TevProcessEvolutionManager {
public:
    // Draws nothing unless `visible`.
    explicit ProgressBar(bool visible)
        : m_visible(visible) {}

    // The derived-documents check reports the level it has reached, out of 10, once
    // per document; the bar is drawn again only when the level changes, and is
    // finished when it reaches 10.
    void increaseProgress(int key, int amount) override;

private:
    static constexpr int kSteps = 10;
    static constexpr int kNotDrawn = -1;

    bool m_visible;
    int m_drawnLevel = kNotDrawn; // The level the bar shows; kNotDrawn before a check.
};

#endif // LUM_REFERENCE_HOST_PROGRESS_BAR_H
