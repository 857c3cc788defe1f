#include "restore/RestoreProgress.h"

namespace {

const char kRunLogPath[] = "log\\qzkeepset.log";

}  // namespace

void RestoreProgress::OpenLog()
{
    if (log_.Open(kRunLogPath))
        log_.WriteBanner();
}

void RestoreProgress::CloseLog()
{
    log_.Close();
}

void RestoreProgress::WriteRestoreLog(const std::string& text)
{
    log_.WriteLine(text);
}

void RestoreProgress::LogLeftOut()
{
    if (leftOut_ == 0)
        return;
    WriteRestoreLog("Left out the files that the keepset's manifest does not list (left by an earlier save into "
                    "the same directory): " +
                    std::to_string(leftOut_) + ", the first " + firstLeftOut_);
}
