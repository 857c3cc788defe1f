#pragma once
// SHA-256 (FIPS 180-4) of our own, fed in pieces of any length. Two
// compression functions do the work: one in plain C++, and one with the
// processor's SHA instructions, used when the processor has them. Both give
// the same digest; the fast one is chosen once for the process.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace win {

using Sha256Digest = std::array<unsigned char, 32>;

enum class Sha256Engine { Portable, ProcessorInstructions };

// True when this processor has the SHA, SSSE3 and SSE4.1 instructions
// (asked once, on the first call).
bool ProcessorHasSha256Instructions();
// ProcessorInstructions when the processor has them, else Portable.
Sha256Engine FastestSha256Engine();

class Sha256 {
public:
    // An engine the processor lacks falls back to Portable.
    explicit Sha256(Sha256Engine engine = FastestSha256Engine());

    void Add(const unsigned char* data, std::size_t length);
    // The digest of everything added; the object starts over afterwards.
    Sha256Digest Finish();

    Sha256Engine Engine() const { return engine_; }

private:
    void Reset();
    void Compress(const unsigned char* blocks, std::size_t count);

    Sha256Engine engine_;
    std::uint32_t state_[8];
    unsigned char pending_[64];
    std::size_t pendingLength_;
    std::uint64_t totalLength_;
};

// 64 lower-case hex digits.
std::string Sha256Hex(const Sha256Digest& digest);

// The 64 round constants, shared by both compression functions.
const std::uint32_t* Sha256RoundConstants();
// The compression functions: count blocks of 64 bytes into the state.
void Sha256BlocksPortable(std::uint32_t state[8], const unsigned char* blocks, std::size_t count);
// Only where ProcessorHasSha256Instructions() is true.
void Sha256BlocksWithInstructions(std::uint32_t state[8], const unsigned char* blocks, std::size_t count);

}  // namespace win
