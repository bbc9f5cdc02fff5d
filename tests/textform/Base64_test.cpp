// Base64 as pictures take it in a layout's JSON.

#include "Base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

} // namespace

TEST(Base64, EncodesAndDecodesTheStandardVectors)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xfb\xff\xfe", "+//+"}, // the two characters past the letters and digits
    };
    for (const auto& [plain, encoded] : cases)
    {
        const std::vector<uint8_t> bytes = Bytes(plain);
        EXPECT_EQ(EncodeBase64(bytes.data(), bytes.size()), encoded);
        std::vector<uint8_t> decoded = {1, 2, 3};
        ASSERT_TRUE(DecodeBase64(encoded, decoded)) << encoded;
        EXPECT_EQ(decoded, bytes) << encoded;
    }

    // Every byte value, at each place in a group of three.
    std::vector<uint8_t> all(256 + 2);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<uint8_t>(i);
    for (size_t length = 256; length <= all.size(); ++length)
    {
        std::vector<uint8_t> back;
        ASSERT_TRUE(DecodeBase64(EncodeBase64(all.data(), length), back));
        EXPECT_EQ(back, std::vector<uint8_t>(all.begin(), all.begin() + static_cast<ptrdiff_t>(length)));
    }
}

// Only well-formed base64 is read, each text with one meaning; what was in
// the destination stays.
TEST(Base64, RefusesAnythingElseLeavingTheBytes)
{
    const char* cases[] = {
        "Zg=",        // not whole groups of four
        "Zm9v\nYg==", // a line break
        "Zm9 ",       // a space
        "Zm-v",       // the URL-safe alphabet
        "Zh==",       // bits that the padding leaves over are not zero
        "Zm9=",       // nor here
        "Zg==Zm9v",   // padding before the end
        "Z===",       // three padding characters
        "=Zg=",       // padding first
    };
    for (const char* text : cases)
    {
        std::vector<uint8_t> bytes = {7, 8};
        EXPECT_FALSE(DecodeBase64(text, bytes)) << text;
        EXPECT_EQ(bytes, (std::vector<uint8_t>{7, 8})) << text;
    }
}
