#include "win/CallCounter.h"

#include <mutex>
#include <vector>

namespace win {
namespace {

struct ArmedFailure {
    Op op;
    unsigned long atCount;
    unsigned long errorCode;
    bool torn;
};

std::mutex counterLock;
unsigned long counts[static_cast<int>(Op::Count)] = {};
std::vector<ArmedFailure> armed;

}  // namespace

unsigned long CallCount(Op op)
{
    std::lock_guard<std::mutex> guard(counterLock);
    return counts[static_cast<int>(op)];
}

void FailCall(Op op, unsigned long nth, unsigned long errorCode)
{
    std::lock_guard<std::mutex> guard(counterLock);
    armed.push_back({op, counts[static_cast<int>(op)] + nth, errorCode, false});
}

void FailCallTorn(Op op, unsigned long nth, unsigned long errorCode)
{
    std::lock_guard<std::mutex> guard(counterLock);
    armed.push_back({op, counts[static_cast<int>(op)] + nth, errorCode, true});
}

void ResetCalls()
{
    std::lock_guard<std::mutex> guard(counterLock);
    for (auto& count : counts)
        count = 0;
    armed.clear();
}

bool InterceptCall(Op op, unsigned long& errorCode)
{
    bool torn = false;
    return InterceptCall(op, errorCode, torn);
}

bool InterceptCall(Op op, unsigned long& errorCode, bool& torn)
{
    std::lock_guard<std::mutex> guard(counterLock);
    const unsigned long count = ++counts[static_cast<int>(op)];
    for (auto it = armed.begin(); it != armed.end(); ++it) {
        if (it->op == op && it->atCount == count) {
            errorCode = it->errorCode;
            torn = it->torn;
            armed.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace win
