/// \file
/// The host's record of a model extract: the report manager fills its name for the
/// number it is asked about.
#ifndef STRUCT_PROJ_MODEL_EXTRACT_H
#define STRUCT_PROJ_MODEL_EXTRACT_H

#include "TevString.h"

/// The host's record of a model extract (see QXNativeDataObjects/StructProjModelExtract.h).
struct StructProjModelExtract {
    int m_number = 0; ///< The extract's number; the caller presets it.
    TevString m_name; ///< The extract's name; the report manager fills it in.
};

#endif // STRUCT_PROJ_MODEL_EXTRACT_H
