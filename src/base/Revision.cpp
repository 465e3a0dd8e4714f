#include "base/Revision.h"

#include <atomic>

std::uint64_t NewRevision() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}
