#include "win/HashingCopy.h"

#include "win/FileHash.h"
#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace win {
namespace {

// The attributes a copy carries over, as the system's copy does.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Chunks in the ring between the copying thread and the hashing thread:
// while one is hashed, the next ones are read and written.
constexpr std::size_t kChunks = 4;

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle()
    {
        if (Valid())
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now; false when the system says the close failed.
    bool Close()
    {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Hashes the chunks handed over, in order, on a thread of its own. The
// copying thread fills chunk n % kChunks, hands it over and writes it
// while earlier chunks are hashed; before it reads into a chunk again it
// waits until the hash has taken that chunk's previous content.
class HashingThread {
public:
    explicit HashingThread(Sha256Hasher& hasher) : hasher_(hasher)
    {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            // No thread: each chunk is hashed as it is handed over.
        }
    }
    ~HashingThread() { End(); }
    HashingThread(const HashingThread&) = delete;
    HashingThread& operator=(const HashingThread&) = delete;

    // Waits until chunk index n's buffer is free again.
    void WaitForBuffer(std::uint64_t n)
    {
        if (n < kChunks || !thread_.joinable())
            return;
        AcquireSRWLockExclusive(&lock_);
        while (hashed_ + kChunks <= n)
            SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        ReleaseSRWLockExclusive(&lock_);
    }

    void HandOver(const unsigned char* data, std::size_t length)
    {
        if (!thread_.joinable()) {
            if (!hasher_.Add(data, length))
                failed_ = true;
            return;
        }
        AcquireSRWLockExclusive(&lock_);
        data_[handedOver_ % kChunks] = data;
        length_[handedOver_ % kChunks] = length;
        ++handedOver_;
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
    }

    // Lets the thread hash what it has and end; false when the hashing
    // failed.
    bool End()
    {
        if (thread_.joinable()) {
            AcquireSRWLockExclusive(&lock_);
            ending_ = true;
            ReleaseSRWLockExclusive(&lock_);
            WakeAllConditionVariable(&changed_);
            thread_.join();
        }
        return !failed_;
    }

private:
    void Run()
    {
        AcquireSRWLockExclusive(&lock_);
        for (;;) {
            while (hashed_ == handedOver_ && !ending_)
                SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            if (hashed_ == handedOver_)
                break;
            const unsigned char* data = data_[hashed_ % kChunks];
            const std::size_t length = length_[hashed_ % kChunks];
            ReleaseSRWLockExclusive(&lock_);
            // Only this thread reads the chunk until hashed_ moves past it.
            const bool added = failed_ || hasher_.Add(data, length);
            AcquireSRWLockExclusive(&lock_);
            if (!added)
                failed_ = true;
            ++hashed_;
            WakeAllConditionVariable(&changed_);
        }
        ReleaseSRWLockExclusive(&lock_);
    }

    Sha256Hasher& hasher_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    const unsigned char* data_[kChunks] = {};
    std::size_t length_[kChunks] = {};
    std::uint64_t handedOver_ = 0;
    std::uint64_t hashed_ = 0;
    bool ending_ = false;
    bool failed_ = false;  // written by the hashing thread, read after it ended
    std::thread thread_;
};

bool WriteAll(HANDLE file, const unsigned char* data, std::size_t length)
{
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, static_cast<DWORD>(length), &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        data += written;
        length -= written;
    }
    return true;
}

// Reads the source to its end into the target, handing every chunk to the
// hash. False with the thread's last error set when a read or write failed.
bool CopyChunks(HANDLE source, HANDLE target, std::uint64_t sourceSize, Sha256Hasher& hasher,
                std::uint64_t& copied)
{
    // A file of one chunk is hashed on this thread: starting a thread would
    // cost more than it saves.
    // A small file gets a buffer of its size and one byte more, so that
    // its copy ends with its first read, a short one.
    std::unique_ptr<HashingThread> hashing;
    const std::size_t chunk =
        sourceSize >= kCopyChunkBytes ? kCopyChunkBytes : static_cast<std::size_t>(sourceSize) + 1;
    std::vector<unsigned char> buffers;
    if (sourceSize > kCopyChunkBytes) {
        buffers.resize(kChunks * chunk);
        hashing = std::make_unique<HashingThread>(hasher);
    } else {
        buffers.resize(chunk);
    }
    bool ok = true;
    for (std::uint64_t n = 0;; ++n) {
        if (hashing)
            hashing->WaitForBuffer(n);
        unsigned char* buffer = buffers.data() + (hashing ? n % kChunks * chunk : 0);
        DWORD got = 0;
        if (InjectedFailure(Op::FileCopyChunk) ||
            !ReadFile(source, buffer, static_cast<DWORD>(chunk), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (hashing) {
            hashing->HandOver(buffer, got);
        } else if (!hasher.Add(buffer, got)) {
            SetLastError(ERROR_INVALID_DATA);
            ok = false;
            break;
        }
        if (!WriteAll(target, buffer, got)) {
            ok = false;
            break;
        }
        copied += got;
        // A read short of the chunk has met the end of the file: one call
        // less per small file.
        if (got < chunk)
            break;
    }
    const DWORD error = GetLastError();
    if (hashing && !hashing->End() && ok) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    SetLastError(error);
    return ok;
}

// Marks the target for deletion when its handle closes: the file this call
// created goes, whatever name it has by then. Falls back to deleting by name
// when the system will not mark it.
void RemoveCreatedTarget(Handle& target, const std::wstring& name)
{
    const DWORD error = GetLastError();
    // A read-only file is not deleted: the attribute a finished copy took
    // from its source goes first.
    FILE_BASIC_INFO writable = {};
    writable.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(target.Get(), FileBasicInfo, &writable, sizeof writable);
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    const bool marked =
        SetFileInformationByHandle(target.Get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
    target.Close();
    if (!marked)
        DeleteFileW(name.c_str());
    SetLastError(error);
}

// Writes the first half of the source into a new target and leaves it there,
// as a copy cut by a power failure leaves one.
void WriteFirstHalfToNew(const std::wstring& source, const std::wstring& target)
{
    Handle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr));
    LARGE_INTEGER sourceSize;
    if (!in.Valid() || !GetFileSizeEx(in.Get(), &sourceSize))
        return;
    Handle out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.Valid())
        return;
    std::vector<unsigned char> buffer(kCopyChunkBytes);
    std::uint64_t left = static_cast<std::uint64_t>(sourceSize.QuadPart) / 2;
    while (left > 0) {
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(left < buffer.size() ? left : buffer.size());
        if (!ReadFile(in.Get(), buffer.data(), wanted, &got, nullptr) || got == 0 ||
            !WriteAll(out.Get(), buffer.data(), got))
            return;
        left -= got;
    }
}

// Moves the file of the handle over destination, replacing a file there:
// the file moved is the one written, whatever happened to its name.
bool RenameOpenFile(HANDLE file, const std::wstring& destination)
{
    const std::size_t nameBytes = destination.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes, 0);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(destination.begin(), destination.end(), rename->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != 0;
}

// What CopyHashing does with the finished copy before it closes it: when
// set, the copy must have the expected hash (if one is given) and then
// replaces destination.
struct ReplaceStep {
    std::wstring destination;
    std::string expected;
    CopyOutcome outcome = CopyOutcome::CopyFailed;
};

// CopyFileHashing's work; creation says how the target is opened
// (CREATE_ALWAYS or CREATE_NEW).
bool CopyHashing(const std::string& source, const std::string& target, DWORD creation, std::string& hexDigest,
                 std::uint64_t& size, ReplaceStep* replace = nullptr)
{
    std::wstring wideSource;
    std::wstring wideTarget;
    if (!ToWidePath(source, wideSource) || !ToWidePath(target, wideTarget))
        return false;
    // Others may go on reading and writing the source, as the system's copy
    // allows.
    Handle in(CreateFileW(wideSource.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // Not GetFileInformationByHandle: the volume serial number it gives
    // costs a query of the volume on each file, which a small file feels.
    FILE_BASIC_INFO sourceBasic;
    LARGE_INTEGER sourceLength;
    if (!in.Valid() || !GetFileInformationByHandleEx(in.Get(), FileBasicInfo, &sourceBasic, sizeof sourceBasic) ||
        !GetFileSizeEx(in.Get(), &sourceLength))
        return false;
    // Created writable: a read-only attribute is set at the end, with the
    // time, so that the handle can still mark a failed copy for deletion.
    const DWORD attributes = sourceBasic.FileAttributes & kCopiedAttributes;
    DWORD createdAttributes = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (createdAttributes == 0)
        createdAttributes = FILE_ATTRIBUTE_NORMAL;
    Handle out(CreateFileW(wideTarget.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, creation,
                           createdAttributes | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!out.Valid())
        return false;

    Sha256Hasher hasher;
    std::uint64_t copied = 0;
    const std::uint64_t sourceSize = static_cast<std::uint64_t>(sourceLength.QuadPart);
    if (!CopyChunks(in.Get(), out.Get(), sourceSize, hasher, copied) || InjectedFailure(Op::FileHash)) {
        RemoveCreatedTarget(out, wideTarget);
        return false;
    }
    std::string digest;
    if (!hasher.Finish(digest)) {
        SetLastError(ERROR_INVALID_DATA);
        RemoveCreatedTarget(out, wideTarget);
        return false;
    }
    // The source's last-write time, and its attributes when read-only
    // (the others it was created with); the creation time is the copy's.
    FILE_BASIC_INFO basic = {};
    basic.LastWriteTime = sourceBasic.LastWriteTime;
    basic.FileAttributes = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? attributes : 0;
    if (replace != nullptr && !replace->expected.empty() && digest != replace->expected) {
        replace->outcome = CopyOutcome::NotExpected;
        hexDigest = digest;
        size = copied;
        SetLastError(ERROR_INVALID_DATA);
        RemoveCreatedTarget(out, wideTarget);
        return false;
    }
    if (!SetFileInformationByHandle(out.Get(), FileBasicInfo, &basic, sizeof basic)) {
        RemoveCreatedTarget(out, wideTarget);
        return false;
    }
    if (replace != nullptr) {
        hexDigest = digest;
        size = copied;
        if (InjectedFailure(Op::FileMove) || !RenameOpenFile(out.Get(), replace->destination)) {
            replace->outcome = CopyOutcome::NotReplaced;
            RemoveCreatedTarget(out, wideTarget);
            return false;
        }
        // In place: a close that fails can no longer take it back.
        replace->outcome = CopyOutcome::Replaced;
        out.Close();
        return true;
    }
    if (!out.Close()) {
        DeleteFileW(wideTarget.c_str());
        return false;
    }
    hexDigest = digest;
    size = copied;
    return true;
}

// The FileCopy of a copy into a new target: true, with the injected error
// as the last error, when the test armed its failure; one armed torn first
// leaves half of the source in the new target, as a power cut would.
bool InjectedCopyToNewFailure(const std::string& source, const std::string& target)
{
    bool torn = false;
    const unsigned long injected = InjectedFailureCode(Op::FileCopy, torn);
    if (injected == 0)
        return false;
    std::wstring wideSource;
    std::wstring wideTarget;
    if (torn && ToWidePath(source, wideSource) && ToWidePath(target, wideTarget))
        WriteFirstHalfToNew(wideSource, wideTarget);
    SetLastError(injected);
    return true;
}

}  // namespace

bool CopyFileHashing(const std::string& source, const std::string& target, std::string& hexDigest,
                     std::uint64_t& size)
{
    hexDigest.clear();
    size = 0;
    if (InjectedFailure(Op::FileCopy))
        return false;
    return CopyHashing(source, target, CREATE_ALWAYS, hexDigest, size);
}

bool CopyFileHashingToNew(const std::string& source, const std::string& target, std::string& hexDigest,
                          std::uint64_t& size)
{
    hexDigest.clear();
    size = 0;
    if (InjectedCopyToNewFailure(source, target))
        return false;
    return CopyHashing(source, target, CREATE_NEW, hexDigest, size);
}

CopyOutcome CopyHashingAndReplace(const std::string& source, const std::string& temporary,
                                  const std::string& destination, const std::string& expectedSha256,
                                  std::string& hexDigest, std::uint64_t& size)
{
    hexDigest.clear();
    size = 0;
    ReplaceStep replace;
    replace.expected = expectedSha256;
    if (!ToWidePath(destination, replace.destination))
        return CopyOutcome::NotReplaced;
    if (InjectedCopyToNewFailure(source, temporary))
        return CopyOutcome::CopyFailed;
    CopyHashing(source, temporary, CREATE_NEW, hexDigest, size, &replace);
    return replace.outcome;
}

}  // namespace win
