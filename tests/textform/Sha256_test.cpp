// SHA-256 against the FIPS 180-4 example messages.

#include "Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Hex(const CSha256::TDigest& digest)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const uint8_t byte : digest)
    {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

} // namespace

TEST(Sha256, GivesTheStandardDigests)
{
    const std::pair<std::string, const char*> cases[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        // 448 bits: the padding's length no longer fits the block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmno"
         "pqrst"
         "nopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [message, digest] : cases)
        EXPECT_EQ(Sha256Hex(message.data(), message.size()), digest) << message.substr(0, 60);
}

TEST(Sha256, PiecesOfAnySizeGiveTheDigestOfTheWhole)
{
    const std::string million(1000000, 'a');
    CSha256 hash;
    // Pieces that end short of, at and past a block's end, and empty ones.
    const size_t sizes[] = {1, 0, 63, 64, 65, 55, 56, 57, 997, 4096};
    size_t at = 0;
    for (size_t i = 0; at < million.size(); ++i)
    {
        const size_t take = std::min(sizes[i % std::size(sizes)], million.size() - at);
        hash.Update(million.data() + at, take);
        at += take;
    }
    EXPECT_EQ(Hex(hash.Finish()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Finish starts the hash over.
    hash.Update("abc", 3);
    EXPECT_EQ(Hex(hash.Finish()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
