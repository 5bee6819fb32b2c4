// Test support: readable GoogleTest output for the root library's values.
#ifndef LUM_TEST_TEV_PRINTERS_H
#define LUM_TEST_TEV_PRINTERS_H

#include "TevString.h"

#include <ostream>

inline void PrintTo(const TevString& text, std::ostream* out) {
    *out << '"' << text.toUtf8() << '"';
}

#endif // LUM_TEST_TEV_PRINTERS_H
