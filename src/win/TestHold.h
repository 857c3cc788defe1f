#pragma once
// A point where a test can hold the program for certain, to make two
// starts meet there. Inert unless the process was started with the
// environment variable named here set to the name of an event: then the
// program waits at that point until the event is set, for kTestHoldLimit
// at most. Only whoever starts the process sets its environment, and the
// event is only waited for, so the hold gives nobody else a hand on a
// program that runs as an administrator. Not counted by win::Op: it is no
// operation of the program, and nothing fails in it.
namespace win {

// After the single-instance check was passed: the mutex is held, and no
// window is there yet.
constexpr const char* kStartedCopyHoldVariable = "QZ_TEST_HOLD_STARTED_COPY";
constexpr unsigned long kTestHoldLimit = 60000;  // milliseconds

void HoldForTest(const char* variable);

}  // namespace win
