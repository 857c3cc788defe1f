#pragma once
// What a test needs from the machine it runs on: a display for windows, the
// private database server, the language libraries of the build. Without
// it a test skips and says why; a full run (scripts/test.sh) sets the
// variable named and so fails such a test instead, since there a skip
// would hide a fault (a run without Xvfb, a package without a library).
#include <gtest/gtest.h>

namespace qztest {

// The environment variable is "1".
bool RequiredByRun(const char* variable);

// DISPLAY is set and the desktop takes a window (waited for up to 10 s).
bool DisplayAvailable();

}  // namespace qztest

// Skips the test (from a TEST body or SetUp) unless the condition holds;
// fails it instead when the variable `required` is 1.
#define QZ_SKIP_UNLESS(condition, required, why)                                  \
    do {                                                                          \
        if (!(condition)) {                                                       \
            if (::qztest::RequiredByRun(required))                                \
                GTEST_FAIL() << why << ", yet " << required << "=1";              \
            GTEST_SKIP() << why << " (" << required << "=1 makes this a failure)"; \
        }                                                                         \
    } while (false)

#define QZ_REQUIRE_DISPLAY() \
    QZ_SKIP_UNLESS(::qztest::DisplayAvailable(), "QZ_REQUIRE_DISPLAY", "no display: DISPLAY is not set")
