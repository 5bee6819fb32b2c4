// The host's record of a model extract: the report manager fills its name for the
// number it is asked about.
#ifndef STRUCT_PROJ_MODEL_EXTRACT_H
#define STRUCT_PROJ_MODEL_EXTRACT_H

#include "TevString.h"

struct StructProjModelExtract {
    int m_number = 0;
    TevString m_name;
};

#endif // STRUCT_PROJ_MODEL_EXTRACT_H
