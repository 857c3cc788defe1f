#include "save/SavedFiles.h"

#include "config/LowerCase.h"
#include "save/CopyPaths.h"
#include "win/Files.h"
#include "win/NewFiles.h"
#include "win/WideNames.h"

namespace {

thread_local SavedFiles* current = nullptr;

}  // namespace

SavedFiles::SavedFiles(const std::string& keepsetDirectory) : directory_(keepsetDirectory) {}

bool SavedFiles::Add(const std::string& file)
{
    return AddCopied(file, std::string(), 0);
}

bool SavedFiles::AddCopied(const std::string& file, const std::string& sha256, std::uint64_t size)
{
    ReadBack readBack;
    readBack.file = file;
    readBack.copied = true;
    readBack.hashed = !sha256.empty();
    readBack.sha256 = sha256;
    readBack.size = size;
    ReadBackNow(readBack, directory_);
    if (List(readBack))
        return true;
    Remove(file);
    return false;
}

void SavedFiles::HandOver(const std::shared_ptr<ReadBack>& readBack)
{
    if (!reader_)
        reader_ = std::make_unique<ReadBackThread>(directory_);
    reader_->Start(readBack);
}

bool SavedFiles::HandedOverDone(const ReadBack& readBack) const
{
    return !reader_ || reader_->Done(readBack);
}

void SavedFiles::Finish(const ReadBack& readBack)
{
    if (reader_)
        reader_->Wait(readBack);
    if (!List(readBack))
        Remove(readBack.file);
}

bool SavedFiles::List(const ReadBack& readBack)
{
    if (readBack.relative.empty() || !readBack.kept)
        return readBack.kept;  // not below the keepset directory, or not read back or not nameable in UTF-8
    ManifestEntry entry;
    entry.path = readBack.manifestPath;
    entry.sha256 = readBack.sha256;
    entry.size = readBack.size;
    entry.sizeKnown = true;
    const std::string key = LowerCase(readBack.relative);
    const auto found = index_.find(key);
    if (found != index_.end()) {
        entries_[found->second] = entry;
        listed_[found->second] = true;
        return true;
    }
    index_.emplace(key, entries_.size());
    entries_.push_back(entry);
    listed_.push_back(true);
    return true;
}

void SavedFiles::Remove(const std::string& file)
{
    const auto found = index_.find(LowerCase(KeepsetRelativePath(directory_, file)));
    if (found != index_.end())
        listed_[found->second] = false;
}

std::vector<ManifestEntry> SavedFiles::Entries() const
{
    std::vector<ManifestEntry> entries;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (listed_[i])
            entries.push_back(entries_[i]);
    return entries;
}

std::string SavedFiles::ManifestPath() const
{
    return JoinPathDotted(directory_, kManifestFileName);
}

std::string SavedFiles::ManifestTemporaryPath() const
{
    return manifestTemporary_.empty() ? ManifestPath() : manifestTemporary_;
}

bool SavedFiles::WriteManifest()
{
    const std::vector<ManifestEntry> entries = Entries();
    const std::string sizeList = JoinPathDotted(directory_, kSizeListFileName);
    const std::string manifest = ManifestPath();
    std::string sizeListTemporary;
    manifestTemporary_.clear();
    // Both are whole on the disk before either is moved; the manifest,
    // whose presence says the keepset can be checked, comes last. Each
    // goes first to a file of a name of its own, made anew: a file or
    // folder that someone put into the keepset directory under any name
    // is never written through.
    const bool written = win::WriteNewFileBeside(sizeList, FormatSizeList(entries), sizeListTemporary) &&
                         win::WriteNewFileBeside(manifest, FormatManifest(entries), manifestTemporary_) &&
                         win::MoveReplacing(sizeListTemporary, sizeList) &&
                         win::MoveReplacing(manifestTemporary_, manifest);
    if (!written) {
        for (const std::string* temporary : {&sizeListTemporary, &manifestTemporary_})
            if (!temporary->empty())
                win::RemoveFile(*temporary);
    }
    return written;
}

SavedFilesScope::SavedFilesScope(SavedFiles& files) : previous_(current)
{
    current = &files;
}

SavedFilesScope::~SavedFilesScope()
{
    current = previous_;
}

bool KeepSavedFile(const std::string& file)
{
    return current == nullptr || current->Add(file);
}

bool KeepCopiedSavedFile(const std::string& file, const std::string& sha256, std::uint64_t size)
{
    return current == nullptr || current->AddCopied(file, sha256, size);
}

bool HandOverSavedFile(const std::shared_ptr<ReadBack>& readBack)
{
    if (current == nullptr)
        return false;
    current->HandOver(readBack);
    return true;
}

bool HandedOverSavedFileDone(const ReadBack& readBack)
{
    return current == nullptr || current->HandedOverDone(readBack);
}

void FinishHandedOverSavedFile(const ReadBack& readBack)
{
    if (current != nullptr)
        current->Finish(readBack);
}

bool CollectingSavedFiles()
{
    return current != nullptr;
}

void ForgetSavedFile(const std::string& file)
{
    if (current != nullptr)
        current->Remove(file);
}
