// The host's record of a report definition: its number, its name and the path of the
// file it produces. A BOM document keeps a copy of the report it was built from.
#ifndef STRUCT_PROJ_REPORT_H
#define STRUCT_PROJ_REPORT_H

#include "TevString.h"

struct StructProjReport {
    int m_number = 0;
    TevString m_name;
    TevString m_filePath;
};

#endif // STRUCT_PROJ_REPORT_H
