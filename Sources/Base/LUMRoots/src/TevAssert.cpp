#include "TevAssert.h"

#include <atomic>
#include <cstdio>

namespace {

void reportToStandardError(const char* expression, const char* file, int line) {
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n",
                 expression != nullptr ? expression : "", file != nullptr ? file : "", line);
}

std::atomic<TevAssert::Handler> currentHandler{&reportToStandardError};

} // namespace

void TevAssert::tevAssert(const char* expression, const char* file, int line) {
    currentHandler.load()(expression, file, line);
}

TevAssert::Handler TevAssert::setHandler(Handler handler) {
    return currentHandler.exchange(handler != nullptr ? handler : &reportToStandardError);
}
