#pragma once
// The fault sweep: a whole operation run again and again with the Nth call
// of one kind of the thin layer failing, for every N the clean run reached
// (or a spread of them for the kinds with many calls), so that every
// failure point of the operation is tried once.
#include "win/CallCounter.h"

#include <string>
#include <utility>
#include <vector>

namespace qztest {

// The kinds swept: every file, profile, registry and process call.
const std::vector<win::Op>& SweptOps();
const char* OpName(win::Op op);

// The failure points to try after a clean run: for each swept kind with
// calls, every N from 1 to its count when there are at most maxPerOp of
// them, else maxPerOp values spread evenly from 1 to the count (both
// included). maxPerOp comes from QZ_SWEEP_SAMPLES when set ("all": every N).
std::vector<std::pair<win::Op, unsigned long>> FailurePoints(unsigned long maxPerOp);
// The same over the given kinds only.
std::vector<std::pair<win::Op, unsigned long>> FailurePoints(unsigned long maxPerOp, const std::vector<win::Op>& ops);

// The error code a swept call fails with: one that no caller may take for
// "not there" (a disk full for writes, access denied for the rest).
unsigned long SweepErrorCode(win::Op op);

// True when QZ_SWEEP_STRICT=1 asks for the assertions that hold only once
// every failure is reported (see the sweeps).
bool StrictSweep();

}  // namespace qztest
