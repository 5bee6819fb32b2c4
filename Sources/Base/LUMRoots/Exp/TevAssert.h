/// \file
/// Reporting of broken preconditions. A failed check names the expression text, the
/// source file and the line through the installed handler and then returns: the caller
/// goes on with a safe fallback, nothing is thrown and nothing aborts.
#ifndef TEV_ASSERT_H
#define TEV_ASSERT_H

#include "TevExport.h"

/// The report of broken preconditions and its replaceable handler (see TevAssert.h).
class LUMROOTS_EXPORT TevAssert {
public:
    /// Receives a failed check: the expression text, the source file and the line.
    using Handler = void (*)(const char* expression, const char* file, int line);

    /// Reports a broken precondition through the current handler and returns.
    static void tevAssert(const char* expression, const char* file, int line);

    /// Installs `handler` and returns the previous one; nullptr restores the default
    /// handler, which writes one line naming the expression, file and line to stderr.
    static Handler setHandler(Handler handler);
};

/// Checks `condition`; when it is false, reports `expressionText` (the exact text that
/// callers and hosts match on) and yields false, so that a caller can write
///
///     if (!TEV_ASSERT(index >= 0, "index >= 0")) return;
#define TEV_ASSERT(condition, expressionText)                                                      \
    ((condition) ? true : (TevAssert::tevAssert((expressionText), __FILE__, __LINE__), false))

#endif // TEV_ASSERT_H
