/// \file
/// The host's record of a report definition: its number, its name and the path of the
/// file it produces. A BOM document keeps a copy of the report it was built from.
#ifndef STRUCT_PROJ_REPORT_H
#define STRUCT_PROJ_REPORT_H

#include "TevString.h"

/// The host's record of a report definition (see QXNativeDataObjects/StructProjReport.h).
struct StructProjReport {
    int m_number = 0;     ///< The report number; a BOM document's key id.
    TevString m_name;     ///< The report's name.
    TevString m_filePath; ///< The path of the file it produces: `..\BOM\Parts.txt`.
};

#endif // STRUCT_PROJ_REPORT_H
