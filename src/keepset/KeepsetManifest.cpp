#include "keepset/KeepsetManifest.h"

#include "keepset/KeepsetRecordFormat.h"
#include "win/Files.h"
#include "win/WideNames.h"

#include <windows.h>

namespace {

bool IsNotFound(unsigned long error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

void KeepsetManifest::Read(const std::string& root)
{
    path_ = KeepsetFilePath(root, kManifestFileName);
    parsed_ = ParsedManifest();
    sizesRead_ = false;
    error_ = 0;
    std::string checksums;
    if (!win::ReadWholeFile(path_, checksums)) {
        error_ = win::LastError();
        status_ = IsNotFound(error_) ? Status::Absent : Status::Unreadable;
        return;
    }
    std::string sizes;
    sizesRead_ = win::ReadWholeFile(KeepsetFilePath(root, kSizeListFileName), sizes);
    if (!sizesRead_)
        sizes.clear();
    parsed_ = ParseManifest(checksums, sizes);
    // The manifest holds its paths in UTF-8; the program compares them in
    // its own form.
    for (ManifestEntry& entry : parsed_.entries)
        entry.path = win::FromUtf8(entry.path);
    status_ = Status::Read;
}
