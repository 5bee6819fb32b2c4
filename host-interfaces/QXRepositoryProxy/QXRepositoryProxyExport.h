// Export macro of the repository library.
#ifndef QX_REPOSITORY_PROXY_EXPORT_H
#define QX_REPOSITORY_PROXY_EXPORT_H

#include "TevExport.h"

// QXREPOSITORYPROXY_BUILD is defined only while the repository library is compiled.
#if defined(QXREPOSITORYPROXY_BUILD)
#define QXREPOSITORYPROXY_EXPORT TEV_DLL_EXPORT
#else
#define QXREPOSITORYPROXY_EXPORT TEV_DLL_IMPORT
#endif

#endif // QX_REPOSITORY_PROXY_EXPORT_H
