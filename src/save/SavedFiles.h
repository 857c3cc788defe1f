#pragma once
// The files a save run put into its keepset, each with the SHA-256 and the
// size it has there after the copy: the content of the keepset's manifest.
//
// The save run opens one collection for its thread (SavedFilesScope); the
// copy primitives hand it each file they copied (KeepSavedFile) and each
// file whose copy failed (ForgetSavedFile). Outside a save run, or on any
// other thread, both do nothing, so the primitives behave as they always
// did.
#include "keepset/ManifestFormat.h"
#include "save/ReadBackThread.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class SavedFiles {
public:
    explicit SavedFiles(const std::string& keepsetDirectory);

    // Reads the file back from the keepset and lists it, replacing what an
    // earlier copy in the same run listed under that path. False when it
    // cannot be read or hashed (or its name not written in UTF-8): the
    // copy then counts as failed, and the file is not listed.
    bool Add(const std::string& file);
    // Lists a file whose copy hashed it as it wrote it.
    bool AddCopied(const std::string& file, const std::string& sha256, std::uint64_t size);
    // For copy loops: hands a copy (or a failed copy) over to the
    // collection's reporting thread, which reads it back unless its copy
    // hashed it, and runs its report
    // (see ReadBackThread). Finish waits for it and then lists the file or,
    // when it is not kept, removes what was listed under its path; files are
    // listed in the order Finish is called.
    void HandOver(const std::shared_ptr<ReadBack>& readBack);
    bool HandedOverDone(const ReadBack& readBack) const;
    void Finish(const ReadBack& readBack);
    // A copy that failed: whatever the run listed under that path goes.
    void Remove(const std::string& file);

    // The listed files in the order they were first copied.
    std::vector<ManifestEntry> Entries() const;

    // Writes "qzkeepset.size" and "qzkeepset.sha256" into the keepset
    // directory, each first under a new name of its own (win/NewFiles.h)
    // and then moved into
    // place, the size list first and the manifest last: a manifest is
    // either whole or absent. False when any step failed; the temporary
    // files are removed then.
    bool WriteManifest();

    // Paths of the manifest and of the temporary name its last write used
    // (the manifest's own before any), for reports.
    std::string ManifestPath() const;
    std::string ManifestTemporaryPath() const;

private:
    // Lists a file that was read back and kept; false when it was not kept.
    bool List(const ReadBack& readBack);

    std::string directory_;
    std::vector<ManifestEntry> entries_;
    std::vector<bool> listed_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-cased relative path -> entry
    std::unique_ptr<ReadBackThread> reader_;  // started with the first HandOver
    std::string manifestTemporary_;
};

// Makes files the calling thread's collection for its lifetime.
class SavedFilesScope {
public:
    explicit SavedFilesScope(SavedFiles& files);
    ~SavedFilesScope();
    SavedFilesScope(const SavedFilesScope&) = delete;
    SavedFilesScope& operator=(const SavedFilesScope&) = delete;

private:
    SavedFiles* previous_;
};

// For the copy primitives: a file copied into the keepset. True when the
// thread has no collection or the file was read back and listed; false
// when it could not be read back, which makes the copy a failed one.
bool KeepSavedFile(const std::string& file);
// The same for a file whose copy hashed it: it is not read back.
bool KeepCopiedSavedFile(const std::string& file, const std::string& sha256, std::uint64_t size);
// For copy loops, KeepSavedFile in steps (see SavedFiles::HandOver):
// HandOver is false when the thread has no collection, and then does
// nothing; Done tells whether Finish would have to wait.
bool HandOverSavedFile(const std::shared_ptr<ReadBack>& readBack);
bool HandedOverSavedFileDone(const ReadBack& readBack);
void FinishHandedOverSavedFile(const ReadBack& readBack);
// True when the calling thread has a collection: its copies are hashed as
// they are made.
bool CollectingSavedFiles();
// For the copy primitives: a copy that failed.
void ForgetSavedFile(const std::string& file);
