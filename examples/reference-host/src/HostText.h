// The host keeps its texts (manifest fields, command-line arguments) as UTF-8
// std::string; the library takes TevString, which reads UTF-8 and gives it back
// through toUtf8.
#ifndef LUM_REFERENCE_HOST_HOST_TEXT_H
#define LUM_REFERENCE_HOST_HOST_TEXT_H

#include "LumDerivedDocumentsBase.h"

#include <string>

inline TevString text(const std::string& utf8) {
    return TevString(utf8.c_str());
}

#endif // LUM_REFERENCE_HOST_HOST_TEXT_H
