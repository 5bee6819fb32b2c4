/// \file
/// Export macro of the table library.
#ifndef LUM_TABLE_EXPORT_H
#define LUM_TABLE_EXPORT_H

#include "TevExport.h"

// LUMTABLE_BUILD is defined only while the table library itself is compiled.
#if defined(LUMTABLE_BUILD)
/// Marks a class or function as part of the table library's interface.
#define LUMTABLE_EXPORT TEV_DLL_EXPORT
#else
/// Marks a class or function as part of the table library's interface.
#define LUMTABLE_EXPORT TEV_DLL_IMPORT
#endif

#endif // LUM_TABLE_EXPORT_H
