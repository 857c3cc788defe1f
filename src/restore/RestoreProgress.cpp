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
