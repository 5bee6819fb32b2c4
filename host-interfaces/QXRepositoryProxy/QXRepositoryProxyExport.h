/// \file
/// Export macro of the repository library.
#ifndef QX_REPOSITORY_PROXY_EXPORT_H
#define QX_REPOSITORY_PROXY_EXPORT_H

#include "TevExport.h"

// QXREPOSITORYPROXY_BUILD is defined only while the repository library is compiled.
#if defined(QXREPOSITORYPROXY_BUILD)
/// Marks a class or function as part of the repository library's interface.
#define QXREPOSITORYPROXY_EXPORT TEV_DLL_EXPORT
#else
/// Marks a class or function as part of the repository library's interface.
#define QXREPOSITORYPROXY_EXPORT TEV_DLL_IMPORT
#endif

#endif // QX_REPOSITORY_PROXY_EXPORT_H
