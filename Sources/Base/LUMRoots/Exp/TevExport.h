/// \file
/// Symbol export macros shared by the root library and the libraries built on it.
/// Every shared library of the application is built with hidden symbol visibility;
/// only classes and functions marked with its export macro form its interface.
#ifndef TEV_EXPORT_H
#define TEV_EXPORT_H

#if defined(_WIN32) || defined(__CYGWIN__)
/// Marks a symbol as exported by the shared library being built.
#define TEV_DLL_EXPORT __declspec(dllexport)
/// Marks a symbol as imported from another shared library.
#define TEV_DLL_IMPORT __declspec(dllimport)
#else
/// Marks a symbol as exported by the shared library being built (default visibility).
#define TEV_DLL_EXPORT __attribute__((visibility("default")))
/// Marks a symbol as imported from another shared library (default visibility).
#define TEV_DLL_IMPORT __attribute__((visibility("default")))
#endif

// LUMROOTS_BUILD is defined only while the root library itself is compiled.
#if defined(LUMROOTS_BUILD)
/// Marks a class or function as part of the root library's interface.
#define LUMROOTS_EXPORT TEV_DLL_EXPORT
#else
/// Marks a class or function as part of the root library's interface.
#define LUMROOTS_EXPORT TEV_DLL_IMPORT
#endif

#endif // TEV_EXPORT_H
