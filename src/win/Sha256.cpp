#include "win/Sha256.h"

#include <cstring>

namespace win {
namespace {

// The first 32 bits of the fractional parts of the cube roots of the
// first 64 primes.
const std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// The first 32 bits of the fractional parts of the square roots of the
// first 8 primes.
const std::uint32_t kInitial[8] = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19,
};

inline std::uint32_t RotateRight(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

inline std::uint32_t BigEndian32(const unsigned char* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

}  // namespace

const std::uint32_t* Sha256RoundConstants()
{
    return kRound;
}

void Sha256BlocksPortable(std::uint32_t state[8], const unsigned char* blocks, std::size_t count)
{
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t w[64];
        for (int t = 0; t < 16; ++t)
            w[t] = BigEndian32(blocks + 4 * t);
        for (int t = 16; t < 64; ++t) {
            const std::uint32_t s0 = RotateRight(w[t - 15], 7) ^ RotateRight(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const std::uint32_t s1 = RotateRight(w[t - 2], 17) ^ RotateRight(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = w[t - 16] + s0 + w[t - 7] + s1;
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int t = 0; t < 64; ++t) {
            const std::uint32_t sum1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
            const std::uint32_t choose = (e & f) ^ (~e & g);
            const std::uint32_t t1 = h + sum1 + choose + kRound[t] + w[t];
            const std::uint32_t sum0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
            const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
            const std::uint32_t t2 = sum0 + majority;
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

Sha256Engine FastestSha256Engine()
{
    return ProcessorHasSha256Instructions() ? Sha256Engine::ProcessorInstructions : Sha256Engine::Portable;
}

Sha256::Sha256(Sha256Engine engine)
    : engine_(engine == Sha256Engine::ProcessorInstructions && !ProcessorHasSha256Instructions()
                  ? Sha256Engine::Portable
                  : engine)
{
    Reset();
}

void Sha256::Reset()
{
    std::memcpy(state_, kInitial, sizeof state_);
    pendingLength_ = 0;
    totalLength_ = 0;
}

void Sha256::Compress(const unsigned char* blocks, std::size_t count)
{
    if (engine_ == Sha256Engine::ProcessorInstructions)
        Sha256BlocksWithInstructions(state_, blocks, count);
    else
        Sha256BlocksPortable(state_, blocks, count);
}

void Sha256::Add(const unsigned char* data, std::size_t length)
{
    totalLength_ += length;
    if (pendingLength_ > 0) {
        const std::size_t taken = length < 64 - pendingLength_ ? length : 64 - pendingLength_;
        std::memcpy(pending_ + pendingLength_, data, taken);
        pendingLength_ += taken;
        data += taken;
        length -= taken;
        if (pendingLength_ < 64)
            return;
        Compress(pending_, 1);
        pendingLength_ = 0;
    }
    // Whole blocks straight from the caller's memory.
    if (length >= 64) {
        Compress(data, length / 64);
        data += length / 64 * 64;
        length %= 64;
    }
    if (length > 0) {
        std::memcpy(pending_, data, length);
        pendingLength_ = length;
    }
}

Sha256Digest Sha256::Finish()
{
    // The message, a one bit, zeros up to 56 bytes into the last block, and
    // the length in bits as a big-endian 64-bit number.
    const std::uint64_t bits = totalLength_ * 8;
    unsigned char tail[128] = {0x80};
    const std::size_t tailLength = (pendingLength_ < 56 ? 64 : 128) - pendingLength_;
    for (int i = 0; i < 8; ++i)
        tail[tailLength - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    Add(tail, tailLength);

    Sha256Digest digest;
    for (int i = 0; i < 8; ++i) {
        digest[4 * i] = static_cast<unsigned char>(state_[i] >> 24);
        digest[4 * i + 1] = static_cast<unsigned char>(state_[i] >> 16);
        digest[4 * i + 2] = static_cast<unsigned char>(state_[i] >> 8);
        digest[4 * i + 3] = static_cast<unsigned char>(state_[i]);
    }
    Reset();
    return digest;
}

std::string Sha256Hex(const Sha256Digest& digest)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(64);
    for (unsigned char byte : digest) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

}  // namespace win
