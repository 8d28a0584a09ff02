#pragma once
// Shared by the reader's value and component halves (Reader.cpp,
// ReaderComponents.cpp); not part of the public interface.
#include <string>

#include "host/vcl/Filer.h"

namespace host::reader {

inline const char* const SInvalidImage = "Invalid stream format";
inline const char* const SInvalidPropertyValue = "Invalid property value";

inline bool IsIntValue(TValueType V) { return V == vaInt8 || V == vaInt16 || V == vaInt32; }

// Keeps a depth counter balanced across exceptions, so a hostile stream cannot
// recurse without bound.
struct TDepthGuard {
    int& Depth;
    TDepthGuard(int& D, int Max) : Depth(D)
    {
        if (++Depth > Max) {
            --Depth;
            throw EReadError(std::string(SInvalidImage) + ": nesting too deep");
        }
    }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;
    ~TDepthGuard() { --Depth; }
};

} // namespace host::reader
