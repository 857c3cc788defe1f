#pragma once
// For the layer's own files: counts one call of the kind and, when a test
// armed a failure for it, makes that error code the thread's last error and
// returns true, so the wrapper returns its failure value without calling
// the system.
#include "win/CallCounter.h"

#include <windows.h>

namespace win {

inline bool InjectedFailure(Op op)
{
    unsigned long code = 0;
    if (!InterceptCall(op, code))
        return false;
    SetLastError(code);
    return true;
}

// For a wrapper that writes data: 0 when the call is to go ahead;
// otherwise the armed error code, with torn set when the wrapper is to
// write part of the data first and then fail with that code.
inline unsigned long InjectedFailureCode(Op op, bool& torn)
{
    unsigned long code = 0;
    torn = false;
    return InterceptCall(op, code, torn) ? code : 0;
}

}  // namespace win
