#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "assets/TextFields.h"

namespace {

// A cursor over a copy of the text that ends exactly where the text does, so
// AddressSanitizer sees any read past the end.
struct Text {
    explicit Text(const std::string& text) : bytes(new unsigned char[text.size() == 0 ? 1 : text.size()])
    {
        std::memcpy(bytes.get(), text.data(), text.size());
        cursor = TextCursor(bytes.get(), text.size());
    }
    std::size_t consumed() const { return static_cast<std::size_t>(cursor.pos - bytes.get()); }
    std::unique_ptr<unsigned char[]> bytes;
    TextCursor cursor;
};

TEST(TextFields, SemicolonAndCrLfEndFieldsAlike)
{
    Text text("1201;1\r\n4\r\nrest");
    EXPECT_EQ(readInt(text.cursor), 1201);
    EXPECT_EQ(readInt(text.cursor), 1);
    EXPECT_EQ(readInt(text.cursor), 4);
    EXPECT_EQ(text.consumed(), 11u);   // on the byte after the second LF
}

TEST(TextFields, ByteAfterCrIsSkippedUnseenAndBareLfBelongsToTheField)
{
    Text text("ab\rXcd\nef;g");
    char buffer[kTextFieldBufferSize];
    readText(text.cursor, buffer);
    EXPECT_STREQ(buffer, "ab");
    readText(text.cursor, buffer);
    EXPECT_STREQ(buffer, "cd\nef");
    readText(text.cursor, buffer);
    EXPECT_STREQ(buffer, "g");
}

TEST(TextFields, EmptyFieldsReadAsZeroAndConsumeOneSeparator)
{
    Text text(";;;x");
    char buffer[kTextFieldBufferSize];
    EXPECT_EQ(readInt(text.cursor), 0);
    EXPECT_EQ(readFloat(text.cursor), 0.0f);
    std::memset(buffer, 'z', sizeof buffer);
    readText(text.cursor, buffer);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(text.consumed(), 3u);
}

TEST(TextFields, LastFieldEndsAtTheEndOfTheData)
{
    Text text("160.2\r\n161.7");
    readFloat(text.cursor);
    EXPECT_EQ(readFloat(text.cursor), 161.7f);
    EXPECT_TRUE(text.cursor.atEnd());
    // Reading on at the end neither moves nor reads further.
    EXPECT_EQ(readInt(text.cursor), 0);
    EXPECT_TRUE(text.cursor.atEnd());
}

TEST(TextFields, CrAsTheLastByteDoesNotSkipPastTheEnd)
{
    Text text("7\r");
    EXPECT_EQ(readInt(text.cursor), 7);
    EXPECT_EQ(text.consumed(), 2u);
}

TEST(TextFields, NumbersConvertLikeTheCLibrary)
{
    Text text("  -42abc; 12.65 ;1e3;+7;-0.5x;abc");
    EXPECT_EQ(readInt(text.cursor), -42);
    EXPECT_EQ(readFloat(text.cursor), 12.65f);
    EXPECT_EQ(readFloat(text.cursor), 1000.0f);
    EXPECT_EQ(readInt(text.cursor), 7);
    EXPECT_EQ(readFloat(text.cursor), -0.5f);
    EXPECT_EQ(readInt(text.cursor), 0);
}

TEST(TextFields, OutOfRangeNumbersSaturateInsteadOfMisbehaving)
{
    Text text("99999999999999999999;-99999999999999999999;1e300;-1e300");
    EXPECT_EQ(readInt(text.cursor), INT_MAX);
    EXPECT_EQ(readInt(text.cursor), INT_MIN);
    EXPECT_EQ(readFloat(text.cursor), std::numeric_limits<float>::infinity());
    EXPECT_EQ(readFloat(text.cursor), -std::numeric_limits<float>::infinity());
}

TEST(TextFields, EightBitTextIsCopiedByteForByte)
{
    const std::string name = "Part2_Wei\xDF" "flashes_2";
    Text text(name + "\r\n3");
    char buffer[kTextFieldBufferSize];
    readText(text.cursor, buffer);
    EXPECT_EQ(std::strlen(buffer), 19u);
    EXPECT_EQ(std::memcmp(buffer, name.data(), 19), 0);
}

TEST(TextFields, OverlongFieldIsCutTo99BytesAndSkippedWhole)
{
    Text text(std::string(150, 'a') + ";next");
    char buffer[kTextFieldBufferSize];
    readText(text.cursor, buffer);
    EXPECT_EQ(std::strlen(buffer), 99u);
    readText(text.cursor, buffer);
    EXPECT_STREQ(buffer, "next");

    Text digits(std::string(120, '1') + ";5");
    readInt(digits.cursor);
    EXPECT_EQ(readInt(digits.cursor), 5);
}

}  // namespace
