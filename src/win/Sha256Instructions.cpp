// The SHA-256 compression function with the processor's SHA instructions
// (with SSSE3 for the byte order and SSE4.1 for one blend), and the check
// whether the processor has them. GCC and Clang compile intrinsics of
// instructions beyond the baseline only inside functions that ask for them
// by a target attribute; Visual Studio compiles them anywhere.
#include "win/Sha256.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define QZ_SHA256_X86 1
#include <immintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#define QZ_SHA_TARGET
#else
#include <cpuid.h>
#define QZ_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))
#endif
#endif

namespace win {

#if QZ_SHA256_X86

namespace {

// Registers of CPUID leaf and subleaf: EAX, EBX, ECX, EDX; zeros when the
// processor has no such leaf.
void Cpuid(unsigned leaf, unsigned subleaf, unsigned (&registers)[4])
{
#if defined(_MSC_VER) && !defined(__clang__)
    int values[4] = {};
    __cpuid(values, 0);
    if (static_cast<unsigned>(values[0]) < leaf) {
        registers[0] = registers[1] = registers[2] = registers[3] = 0;
        return;
    }
    __cpuidex(values, static_cast<int>(leaf), static_cast<int>(subleaf));
    for (int i = 0; i < 4; ++i)
        registers[i] = static_cast<unsigned>(values[i]);
#else
    if (!__get_cpuid_count(leaf, subleaf, &registers[0], &registers[1], &registers[2], &registers[3]))
        registers[0] = registers[1] = registers[2] = registers[3] = 0;
#endif
}

bool AskProcessor()
{
    unsigned basic[4];
    unsigned extended[4];
    Cpuid(1, 0, basic);
    Cpuid(7, 0, extended);
    const bool ssse3 = (basic[2] & (1u << 9)) != 0;
    const bool sse41 = (basic[2] & (1u << 19)) != 0;
    const bool sha = (extended[1] & (1u << 29)) != 0;
    return ssse3 && sse41 && sha;
}

// Four rounds: message words m plus their round constants, two rounds per
// instruction. abef and cdgh hold the working variables as the
// instructions want them.
QZ_SHA_TARGET inline void FourRounds(__m128i& abef, __m128i& cdgh, __m128i m, const std::uint32_t* constants)
{
    __m128i wk = _mm_add_epi32(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(constants)));
    // Two rounds give the new ABEF, and the old ABEF is the new CDGH: the
    // registers swap roles for the next two rounds, and back.
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
    wk = _mm_shuffle_epi32(wk, 0x0E);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, wk);
}

// The next four message words W[t..t+3] from the sixteen before them:
// w0 = W[t-16..t-13], w1 = W[t-12..t-9], w2 = W[t-8..t-5], w3 = W[t-4..t-1].
QZ_SHA_TARGET inline __m128i NextWords(__m128i w0, __m128i w1, __m128i w2, __m128i w3)
{
    // W[t-16] + sigma0(W[t-15]), plus W[t-7], plus sigma1(W[t-2]).
    __m128i next = _mm_sha256msg1_epu32(w0, w1);
    next = _mm_add_epi32(next, _mm_alignr_epi8(w3, w2, 4));
    return _mm_sha256msg2_epu32(next, w3);
}

}  // namespace

bool ProcessorHasSha256Instructions()
{
    static const bool has = AskProcessor();
    return has;
}

QZ_SHA_TARGET void Sha256BlocksWithInstructions(std::uint32_t state[8], const unsigned char* blocks,
                                                std::size_t count)
{
    const std::uint32_t* k = Sha256RoundConstants();
    // Message words are big-endian: each 32-bit lane's bytes reversed.
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);

    // The state a..h into the instructions' order: ABEF and CDGH, named
    // from the highest lane down.
    const __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

    for (; count > 0; --count, blocks += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        const __m128i* in = reinterpret_cast<const __m128i*>(blocks);
        __m128i w0 = _mm_shuffle_epi8(_mm_loadu_si128(in), byteSwap);
        __m128i w1 = _mm_shuffle_epi8(_mm_loadu_si128(in + 1), byteSwap);
        __m128i w2 = _mm_shuffle_epi8(_mm_loadu_si128(in + 2), byteSwap);
        __m128i w3 = _mm_shuffle_epi8(_mm_loadu_si128(in + 3), byteSwap);
        FourRounds(abef, cdgh, w0, k);
        FourRounds(abef, cdgh, w1, k + 4);
        FourRounds(abef, cdgh, w2, k + 8);
        FourRounds(abef, cdgh, w3, k + 12);
        for (int t = 16; t < 64; t += 16) {
            w0 = NextWords(w0, w1, w2, w3);
            FourRounds(abef, cdgh, w0, k + t);
            w1 = NextWords(w1, w2, w3, w0);
            FourRounds(abef, cdgh, w1, k + t + 4);
            w2 = NextWords(w2, w3, w0, w1);
            FourRounds(abef, cdgh, w2, k + t + 8);
            w3 = NextWords(w3, w0, w1, w2);
            FourRounds(abef, cdgh, w3, k + t + 12);
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }

    // Back into the order a..h.
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#else

// Not an x86 processor: the instructions do not exist.
bool ProcessorHasSha256Instructions()
{
    return false;
}

void Sha256BlocksWithInstructions(std::uint32_t state[8], const unsigned char* blocks, std::size_t count)
{
    Sha256BlocksPortable(state, blocks, count);
}

#endif

}  // namespace win
