// The byte work of SFTP packets: what goes out, and what a broken reply does to the reader.

#include <gtest/gtest.h>

#include "sftp/SftpPacket.h"

using namespace sftp;

TEST(SftpPacket, AttributesTravelAndACutPacketIsMalformedNotRead)
{
    TAttributes sent;
    sent.Size = 5'000'000'000ULL;
    sent.Permissions = 040755;
    sent.AccessTime = 1700000000;
    sent.ModifyTime = 1700000001;
    std::string packet = TRequest(kSetstat, 7).Str("/d/é").Attrs(sent).Finish();
    ASSERT_EQ(WholePacketLength(packet), static_cast<int64_t>(packet.size()));
    EXPECT_EQ(WholePacketLength(packet.substr(0, packet.size() - 1)), 0); // not all there yet

    TReader reader(std::string_view(packet).substr(4));
    EXPECT_EQ(reader.U8(), kSetstat);
    EXPECT_EQ(reader.U32(), 7u);
    EXPECT_EQ(reader.Str(), "/d/é");
    TAttributes got = reader.Attrs();
    EXPECT_EQ(got.Size, sent.Size);
    EXPECT_TRUE(got.IsDirectory());
    EXPECT_EQ(got.ModifyTime, 1700000001u);
    EXPECT_FALSE(got.Uid.has_value());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Malformed());

    // A string longer than what is left: nothing is read past the end.
    std::string cut = packet.substr(4, 12);
    TReader broken(cut);
    broken.U8();
    broken.U32();
    EXPECT_EQ(broken.Str(), "");
    EXPECT_TRUE(broken.Malformed());
    EXPECT_EQ(broken.U64(), 0u);

    // A length no packet has stops the stream.
    EXPECT_EQ(WholePacketLength(std::string("\xff\xff\xff\xff\x65", 5)), -1);
    EXPECT_EQ(WholePacketLength(std::string("\0\0\0\0", 4)), -1);
}

TEST(SftpPacket, OwnerAndGroupComeFromTheLongNameWhereItHasThem)
{
    std::string owner, group;
    OwnerAndGroup("-rw-r--r--    1 alice    staff        1234 Jan  1 00:00 a file", owner, group);
    EXPECT_EQ(owner, "alice");
    EXPECT_EQ(group, "staff");
    OwnerAndGroup("a file", owner, group);
    EXPECT_EQ(owner, "");
    EXPECT_EQ(group, "");
}

TEST(SftpPacket, OctalModesAndNothingElse)
{
    uint32_t bits = 0;
    EXPECT_TRUE(ParseOctalMode("644", bits));
    EXPECT_EQ(bits, 0644u);
    EXPECT_TRUE(ParseOctalMode("4755", bits));
    EXPECT_EQ(bits, 04755u);
    for (const char* bad : {"", "8", "rw-", "-1", "77777", "644 "})
        EXPECT_FALSE(ParseOctalMode(bad, bits)) << bad;
}
