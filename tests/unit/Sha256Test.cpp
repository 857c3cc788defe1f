// SHA-256 of our own: the published test vectors through both compression
// functions, and the two agreeing with each other however the message is
// cut into pieces.
#include "win/Sha256.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using win::Sha256;
using win::Sha256Engine;

std::string Hex(Sha256Engine engine, const std::string& message)
{
    Sha256 hash(engine);
    hash.Add(reinterpret_cast<const unsigned char*>(message.data()), message.size());
    return win::Sha256Hex(hash.Finish());
}

// The message fed in pieces whose lengths the generator picks up to
// largestPiece (zero-length pieces included).
std::string HexInPieces(Sha256Engine engine, const std::vector<unsigned char>& message, std::mt19937& random,
                        std::size_t largestPiece)
{
    Sha256 hash(engine);
    std::size_t at = 0;
    while (at < message.size()) {
        const std::size_t piece = std::min(message.size() - at, random() % (largestPiece + 1));
        hash.Add(message.data() + at, piece);
        at += piece;
    }
    return win::Sha256Hex(hash.Finish());
}

class Sha256Engines : public ::testing::TestWithParam<Sha256Engine> {
protected:
    void SetUp() override
    {
        if (GetParam() == Sha256Engine::ProcessorInstructions && !win::ProcessorHasSha256Instructions())
            GTEST_SKIP() << "this processor has no SHA instructions";
    }
};

TEST_P(Sha256Engines, PublishedTestVectors)
{
    const Sha256Engine engine = GetParam();
    EXPECT_EQ(Sha256(engine).Engine(), engine);
    EXPECT_EQ(Hex(engine, ""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Hex(engine, "abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex(engine, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Hex(engine, "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu"),
              "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
    // One million "a", in pieces of 1000 through one object; the object
    // starts over after Finish.
    Sha256 hash(engine);
    const std::string thousand(1000, 'a');
    for (int i = 0; i < 1000; ++i)
        hash.Add(reinterpret_cast<const unsigned char*>(thousand.data()), thousand.size());
    EXPECT_EQ(win::Sha256Hex(hash.Finish()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    hash.Add(reinterpret_cast<const unsigned char*>("abc"), 3);
    EXPECT_EQ(win::Sha256Hex(hash.Finish()), Hex(engine, "abc"));
}

INSTANTIATE_TEST_SUITE_P(Both, Sha256Engines,
                         ::testing::Values(Sha256Engine::Portable, Sha256Engine::ProcessorInstructions));

// Lengths around every padding case (55, 56, 63, 64 bytes into the last
// block) and random ones up to several MiB, each fed whole and in random
// pieces: small ones that cross block boundaries and large ones.
TEST(Sha256, EnginesAgreeOverLengthsAndPieces)
{
    const bool instructions = win::ProcessorHasSha256Instructions();
    std::mt19937 random(20261209);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 200; ++n)
        lengths.push_back(n);
    for (int i = 0; i < 12; ++i)
        lengths.push_back(random() % (64 << 10));
    for (std::size_t n : {std::size_t{1} << 20, (std::size_t{3} << 20) + 55, (std::size_t{5} << 20) - 1})
        lengths.push_back(n);
    for (std::size_t length : lengths) {
        std::vector<unsigned char> message(length);
        for (unsigned char& byte : message)
            byte = static_cast<unsigned char>(random());
        Sha256 whole(Sha256Engine::Portable);
        whole.Add(message.data(), message.size());
        const std::string expected = win::Sha256Hex(whole.Finish());
        EXPECT_EQ(HexInPieces(Sha256Engine::Portable, message, random, 130), expected) << length;
        if (!instructions)
            continue;
        EXPECT_EQ(HexInPieces(Sha256Engine::ProcessorInstructions, message, random, 130), expected) << length;
        EXPECT_EQ(HexInPieces(Sha256Engine::ProcessorInstructions, message, random, 1 << 20), expected) << length;
    }
    if (!instructions)
        GTEST_SKIP() << "this processor has no SHA instructions: the portable engine was checked alone";
}

}  // namespace
