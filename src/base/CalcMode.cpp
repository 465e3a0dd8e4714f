#include "base/CalcMode.h"

#include <cstdlib>
#include <cstring>

bool IsReferenceCalculation() {
    static const bool reference = [] {
        const char* value = std::getenv("ORVANTIS_REFERENCE_CALC");
        return value && *value && std::strcmp(value, "0") != 0;
    }();
    return reference;
}
