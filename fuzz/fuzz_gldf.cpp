// The reader of a luminaire container's product.xml on arbitrary bytes (the zip archive around
// it is the zip library's business).
#include "FuzzSupport.h"

#include "products/GldfReader.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    GldfContent content;
    std::string reason;
    if (ReadGldfProductXml(text, "de", content, &reason)) {
        // A power read is never beyond what any luminaire draws.
        for (const GldfVariant& variant : content.variants)
            if (variant.watts > 1e6) __builtin_trap();
    }
    return 0;
}
