// Symbol export macros shared by the root library and the libraries built on it.
// Every shared library of the application is built with hidden symbol visibility;
// only classes and functions marked with its export macro form its interface.
#ifndef TEV_EXPORT_H
#define TEV_EXPORT_H

#if defined(_WIN32) || defined(__CYGWIN__)
#define TEV_DLL_EXPORT __declspec(dllexport)
#define TEV_DLL_IMPORT __declspec(dllimport)
#else
#define TEV_DLL_EXPORT __attribute__((visibility("default")))
#define TEV_DLL_IMPORT __attribute__((visibility("default")))
#endif

// LUMROOTS_BUILD is defined only while the root library itself is compiled.
#if defined(LUMROOTS_BUILD)
#define LUMROOTS_EXPORT TEV_DLL_EXPORT
#else
#define LUMROOTS_EXPORT TEV_DLL_IMPORT
#endif

#endif // TEV_EXPORT_H
