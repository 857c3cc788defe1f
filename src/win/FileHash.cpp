#include "win/FileHash.h"

#include "win/InjectedFailure.h"
#include "win/ReadChunks.h"

#include <windows.h>
#include <bcrypt.h>

#include <mutex>
#include <vector>

namespace win {
namespace {

// The system's algorithm provider is opened once for the process and
// shared by every thread; each message gets a hash object of its own.
BCRYPT_ALG_HANDLE Sha256Provider()
{
    static BCRYPT_ALG_HANDLE provider = nullptr;
    static std::once_flag opened;
    std::call_once(opened, [] {
        if (BCryptOpenAlgorithmProvider(&provider, BCRYPT_SHA256_ALGORITHM, nullptr, 0) < 0)
            provider = nullptr;
    });
    return provider;
}

HashImplementation Available(HashImplementation wanted)
{
    if (wanted == HashImplementation::OwnWithInstructions && !ProcessorHasSha256Instructions())
        wanted = HashImplementation::System;
    if (wanted == HashImplementation::System && Sha256Provider() == nullptr)
        wanted = HashImplementation::OwnPortable;
    return wanted;
}

}  // namespace

struct Sha256Hasher::SystemHash {
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::vector<unsigned char> object;

    bool Create()
    {
        DWORD objectLength = 0;
        DWORD got = 0;
        if (BCryptGetProperty(Sha256Provider(), BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectLength),
                              sizeof objectLength, &got, 0) < 0)
            return false;
        object.resize(objectLength);
        if (BCryptCreateHash(Sha256Provider(), &hash, object.data(), objectLength, nullptr, 0, 0) < 0) {
            hash = nullptr;
            return false;
        }
        return true;
    }
    ~SystemHash()
    {
        if (hash != nullptr)
            BCryptDestroyHash(hash);
    }
};

HashImplementation ChosenHashImplementation()
{
    static const HashImplementation chosen = Available(HashImplementation::OwnWithInstructions);
    return chosen;
}

const char* HashImplementationName(HashImplementation implementation)
{
    switch (implementation) {
    case HashImplementation::OwnWithInstructions: return "own with SHA instructions";
    case HashImplementation::System: return "system";
    default: return "own portable";
    }
}

Sha256Hasher::Sha256Hasher(HashImplementation implementation)
    : implementation_(Available(implementation)),
      own_(implementation_ == HashImplementation::OwnWithInstructions ? Sha256Engine::ProcessorInstructions
                                                                      : Sha256Engine::Portable)
{
    if (implementation_ != HashImplementation::System)
        return;
    system_ = std::make_unique<SystemHash>();
    if (!system_->Create())
        failed_ = true;
}

Sha256Hasher::~Sha256Hasher() = default;

bool Sha256Hasher::Add(const unsigned char* data, std::size_t length)
{
    if (failed_)
        return false;
    if (!system_) {
        own_.Add(data, length);
        return true;
    }
    // The service takes at most 4 GiB less one byte a call.
    while (length > 0 && !failed_) {
        const ULONG piece = length > 0x40000000 ? 0x40000000 : static_cast<ULONG>(length);
        failed_ = BCryptHashData(system_->hash, const_cast<PUCHAR>(data), piece, 0) < 0;
        data += piece;
        length -= piece;
    }
    return !failed_;
}

bool Sha256Hasher::Finish(std::string& hexDigest)
{
    hexDigest.clear();
    if (failed_)
        return false;
    Sha256Digest digest;
    if (!system_) {
        digest = own_.Finish();
    } else if (BCryptFinishHash(system_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0) < 0) {
        failed_ = true;
        return false;
    }
    hexDigest = Sha256Hex(digest);
    return true;
}

bool FileSha256(const std::string& path, std::string& hexDigest, std::uint64_t& size)
{
    hexDigest.clear();
    size = 0;
    if (InjectedFailure(Op::FileHash))
        return false;
    Sha256Hasher hash;
    bool ok = ReadFileInChunks(path, [&hash, &size](const unsigned char* data, unsigned long length) {
        size += length;
        SetLastError(ERROR_SUCCESS);
        return hash.Add(data, length);
    });
    const DWORD error = GetLastError();
    if (ok && !hash.Finish(hexDigest))
        ok = false;
    if (!ok) {
        hexDigest.clear();
        SetLastError(error == ERROR_SUCCESS ? ERROR_INVALID_DATA : error);
        return false;
    }
    return true;
}

}  // namespace win
