/// \file
/// Four event masks of the host's model, one per functionality. Events accumulate by
/// bitwise OR until a mask is reset; every mask starts with eEventInitial. The library
/// gives the functionalities and the event bits other than eEventInitial no meaning of
/// its own: this is a value the host keeps and interprets.
#ifndef TEV_MODEL_STATE_H
#define TEV_MODEL_STATE_H

#include "LumDerivedDocumentsBaseExport.h"

#include <cstdint>

/// Four event masks of the host's model (see TevModelState.h).
///
/// Every operation taking a functionality requires 0 <= f <= 3. An index outside that
/// range is reported as "isValid( functionality )"; the masks stay unchanged and
/// getModelState answers 0.
class LUMDERDOC_EXPORT TevModelState {
public:
    /// The functionality a mask belongs to; the host gives each its meaning.
    enum eFunctionality : std::int32_t {
        eFunctionality0 = 0, ///< The first mask.
        eFunctionality1 = 1, ///< The second mask.
        eFunctionality2 = 2, ///< The third mask.
        eFunctionality3 = 3, ///< The fourth mask.
    };

    /// Event bits; the host defines every bit but eEventInitial.
    enum eEvent : std::int32_t {
        eEventInitial = 0x80, ///< The bit every mask starts with.
    };

    /// Every mask holds eEventInitial.
    TevModelState();

    /// The mask of `f`.
    /// \pre 0 <= f <= 3; otherwise reported as "isValid( functionality )", and 0 is
    /// answered.
    int getModelState(eFunctionality f);
    /// ORs `e` into all four masks.
    void addEvent(eEvent e);
    /// ORs `e` into the mask of `f` only.
    /// \pre 0 <= f <= 3; otherwise reported, and the masks stay unchanged.
    void addEvent(eEvent e, eFunctionality f);
    /// Sets the mask of `f` to 0 (not back to eEventInitial).
    /// \pre 0 <= f <= 3; otherwise reported, and the masks stay unchanged.
    void resetState(eFunctionality f);
    /// Sets all four masks to 0.
    void resetState();

private:
    static constexpr int kFunctionalityCount = 4;

    static bool isValid(eFunctionality f);

    std::int32_t m_state[kFunctionalityCount];
};

#endif // TEV_MODEL_STATE_H
