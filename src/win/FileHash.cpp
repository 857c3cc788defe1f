#include "win/FileHash.h"

#include "win/InjectedFailure.h"
#include "win/ReadChunks.h"

#include <windows.h>
#include <bcrypt.h>

#include <mutex>
#include <vector>

namespace win {
namespace {

// The algorithm provider is opened once for the process and shared by
// every thread; each file gets a hash object of its own.
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

class HashObject {
public:
    explicit HashObject(BCRYPT_ALG_HANDLE provider)
    {
        DWORD objectLength = 0;
        DWORD got = 0;
        if (provider == nullptr ||
            BCryptGetProperty(provider, BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectLength),
                              sizeof objectLength, &got, 0) < 0)
            return;
        object_.resize(objectLength);
        if (BCryptCreateHash(provider, &hash_, object_.data(), objectLength, nullptr, 0, 0) < 0)
            hash_ = nullptr;
    }
    ~HashObject()
    {
        if (hash_ != nullptr)
            BCryptDestroyHash(hash_);
    }
    HashObject(const HashObject&) = delete;
    HashObject& operator=(const HashObject&) = delete;

    bool Valid() const { return hash_ != nullptr; }
    bool Add(const unsigned char* data, unsigned long length)
    {
        return BCryptHashData(hash_, const_cast<PUCHAR>(data), length, 0) >= 0;
    }
    bool Finish(unsigned char (&digest)[32])
    {
        return BCryptFinishHash(hash_, digest, sizeof digest, 0) >= 0;
    }

private:
    BCRYPT_HASH_HANDLE hash_ = nullptr;
    std::vector<unsigned char> object_;
};

std::string ToHex(const unsigned char (&digest)[32])
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : digest) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

}  // namespace

bool FileSha256(const std::string& path, std::string& hexDigest, std::uint64_t& size)
{
    hexDigest.clear();
    size = 0;
    if (InjectedFailure(Op::FileHash))
        return false;
    HashObject hash(Sha256Provider());
    if (!hash.Valid()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    bool ok = ReadFileInChunks(path, [&hash, &size](const unsigned char* data, unsigned long length) {
        size += length;
        SetLastError(ERROR_SUCCESS);
        return hash.Add(data, length);
    });
    const DWORD error = GetLastError();
    unsigned char digest[32];
    if (ok && !hash.Finish(digest)) {
        ok = false;
    }
    if (!ok) {
        SetLastError(error);
        return false;
    }
    hexDigest = ToHex(digest);
    return true;
}

}  // namespace win
