#pragma once
// A named mutex that the processes of every session share: the running
// copy's mark, and the lock around each update of the configuration file.
// It carries an access list of its own (the system account, the
// administrators and the user that made it get all access), so a copy in
// another session, a scheduled save run as the system account, or the
// installer can open it, and no other user can take it away.
#include <string>

namespace win {

class SharedMutex {
public:
    // `name` in the global namespace ("Global\..."). Where this process may
    // not make global objects, the mutex is made in the session's own
    // namespace ("Local\...") instead. Counted as a MutexCreate.
    explicit SharedMutex(const std::string& name);
    ~SharedMutex();
    SharedMutex(const SharedMutex&) = delete;
    SharedMutex& operator=(const SharedMutex&) = delete;

    // True when the mutex was there before this object: made by another
    // process, or there but closed to this one (access denied, as a
    // mutex of another session or user may be), or when it could not be
    // made at all. A check that cannot tell counts as taken.
    bool ExistedBefore() const { return existedBefore_; }

    // Waits up to `milliseconds` to own the mutex; false when the time
    // passed or the mutex could not be opened. A mutex whose owner ended
    // without releasing it is owned then. The owning thread may lock it
    // again; each Lock that succeeded takes one Unlock. Counted as a
    // MutexWait.
    bool Lock(unsigned long milliseconds);
    void Unlock();

private:
    void* handle_ = nullptr;
    bool existedBefore_ = true;
};

}  // namespace win
