#pragma once
// The fault sweep: a whole operation run again and again with the Nth call
// of one kind of the thin layer failing, for every N the clean run reached
// (or a spread of them for the kinds with many calls), so that every
// failure point of the operation is tried once.
#include "win/CallCounter.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qztest {

// The kinds swept: every file, profile, registry and process call.
const std::vector<win::Op>& SweptOps();
const char* OpName(win::Op op);

// The failure points to try after a clean run: for each swept kind with
// calls, every N from 1 to its count when there are at most maxPerOp of
// them, else the first, the last and maxPerOp - 2 others drawn at random
// with the run's seed (SweepSeed), so that each run tries other points.
// maxPerOp comes from QZ_SWEEP_SAMPLES when set ("all": every N).
std::vector<std::pair<win::Op, unsigned long>> FailurePoints(unsigned long maxPerOp);
// The same over the given kinds only.
std::vector<std::pair<win::Op, unsigned long>> FailurePoints(unsigned long maxPerOp, const std::vector<win::Op>& ops);

// The seed of this run's samples: QZ_SWEEP_SEED when set, else taken from
// the clock and printed once, so that a failing sample can be run again.
unsigned long SweepSeed();
// "QZ_SWEEP_SEED=<seed>", for the messages of a sweep.
std::string SweepSeedText();

// The kinds whose calls write data and can be torn (win::FailCallTorn).
const std::vector<win::Op>& TornOps();
// Arms the failure of one point, torn or whole, with SweepErrorCode.
void ArmFailure(win::Op op, unsigned long nth, bool torn);

// The program's own temporary files ("qzkeepset.*.tmp") in a directory
// and, when recursive, below it; their paths.
std::vector<std::string> TemporaryFilesIn(const std::string& directory, bool recursive = false);

// Holds the shared mutex of that name on a thread of its own, as another
// process would, until destroyed.
class MutexHeldElsewhere {
public:
    explicit MutexHeldElsewhere(const char* name);
    ~MutexHeldElsewhere();

private:
    struct Holder;
    std::unique_ptr<Holder> holder_;
};

// The error code a swept call fails with: one that no caller may take for
// "not there" (a disk full for writes, access denied for the rest).
unsigned long SweepErrorCode(win::Op op);

// True when a run can see the failure of a call of this kind, so the sweeps
// require the failure reported and the error outcome. False for the kinds
// whose failure gives the program nothing to act on: a profile read that
// fails returns its default, as it does for a key that is not there; an
// optional registry key (a desktop folder, a database service) that does
// not open looks like one that is not set; and a run log that does not open
// leaves a run that still reports every file in its list or summary. For
// those the sweeps require only that the run ends (no crash, no hang) and
// loses nothing: the configuration file and earlier keepsets stay as they
// were.
bool FailureIsObservable(win::Op op);

}  // namespace qztest
