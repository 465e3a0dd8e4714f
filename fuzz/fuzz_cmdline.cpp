// The batch command-line splitter and the argument helpers on arbitrary text.
#include "FuzzSupport.h"

#include "app/BatchCommands.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CommandTokens tokens;
    const int count = SplitCommandLine(text, " ", tokens);
    if (count < 0 || static_cast<size_t>(count) != tokens.size()) FuzzFail("count differs from the tokens");
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].empty()) FuzzFail("empty token");
        GetCommandArgument(tokens, i);
    }
    GetCommandArgument(tokens, tokens.size());
    ParseFloorHeight(text);
    ResultsCopyPath(text);
    FloorNameFromDxfPath(text);
    return 0;
}
