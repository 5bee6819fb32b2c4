/// \file
/// Export macro of the derived-documents library.
#ifndef LUM_DERIVED_DOCUMENTS_BASE_EXPORT_H
#define LUM_DERIVED_DOCUMENTS_BASE_EXPORT_H

#include "TevExport.h"

// LUMDERIVEDDOCUMENTSBASE_BUILD is defined only while the library itself is compiled.
#if defined(LUMDERIVEDDOCUMENTSBASE_BUILD)
/// Marks a class or function as part of the derived-documents library's interface.
#define LUMDERDOC_EXPORT TEV_DLL_EXPORT
#else
/// Marks a class or function as part of the derived-documents library's interface.
#define LUMDERDOC_EXPORT TEV_DLL_IMPORT
#endif

#endif // LUM_DERIVED_DOCUMENTS_BASE_EXPORT_H
