// The on-disk encoding: fixed positions, little-endian whatever the host.
#include "pak_format.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vantor;

TEST(PakFormat, HeaderIsMagicThenTwoLittleEndianWords)
{
    PakHeader header = EmptyPakHeader();
    header.dirOffset = 0x11223344;
    header.dirLength = 0x00000140;
    const PakHeaderBytes bytes = EncodeHeader(header);
    const unsigned char expected[12] = {'P', 'A', 'C', 'K', 0x44, 0x33, 0x22, 0x11, 0x40, 0x01, 0, 0};
    EXPECT_EQ(0, std::memcmp(bytes.data(), expected, 12));

    const PakHeader back = DecodeHeader(bytes);
    EXPECT_TRUE(back.HasMagic());
    EXPECT_EQ(header.dirOffset, back.dirOffset);
    EXPECT_EQ(header.dirLength, back.dirLength);
}

TEST(PakFormat, EntryRecordKeepsNameFieldAndOffsets)
{
    PakEntry entry;
    entry.SetName("maps/e1m1.bsp");
    entry.offset = 0xA0B0C0D0;
    entry.length = 7;
    unsigned char bytes[64];
    EncodeEntry(entry, bytes);
    EXPECT_EQ(0, std::memcmp(bytes, "maps/e1m1.bsp\0", 14));
    for (int i = 14; i < 56; ++i) EXPECT_EQ(0, bytes[i]) << i;
    EXPECT_EQ(0xD0, bytes[56]);
    EXPECT_EQ(0xA0, bytes[59]);
    EXPECT_EQ(7, bytes[60]);

    const PakEntry back = DecodeEntry(bytes);
    EXPECT_EQ("maps/e1m1.bsp", back.Name());
    EXPECT_EQ(entry.offset, back.offset);
    EXPECT_EQ(entry.length, back.length);
}

TEST(PakFormat, NameWithoutTerminatorIsReadAsItsFiftySixBytes)
{
    unsigned char bytes[64];
    std::memset(bytes, 'x', 56);
    std::memset(bytes + 56, 0, 8);
    const PakEntry entry = DecodeEntry(bytes);
    EXPECT_EQ(std::string(56, 'x'), entry.Name());

    // Bytes after the terminator carry no meaning and survive a round trip.
    bytes[3] = '\0';
    const PakEntry partial = DecodeEntry(bytes);
    EXPECT_EQ("xxx", partial.Name());
    unsigned char again[64];
    EncodeEntry(partial, again);
    EXPECT_EQ(0, std::memcmp(bytes, again, 64));
}
