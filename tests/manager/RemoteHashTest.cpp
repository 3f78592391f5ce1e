// The server's hash of a file: which command FEAT offers, and the digest in its reply; and what a
// walk takes of the server's words.

#include <gtest/gtest.h>

#include "manager/CommFunc.h"
#include "manager/ListingCache.h"
#include "manager/RemoteHash.h"

TEST(RemoteHash, TheBestOfferedCommandIsChosen)
{
    auto choose = [](std::vector<std::string> lines) { return ChooseRemoteHash(lines); };
    TRemoteHash none = choose({"211-Features:", " SIZE", " MDTM", "211 End"});
    EXPECT_TRUE(none.Command.empty());
    TRemoteHash x = choose({"211-Features:", " XCRC", " XMD5", " XSHA1", "211 End"});
    EXPECT_EQ(x.Command, "XSHA1");
    EXPECT_EQ(x.Algorithm, "SHA-1");
    // HASH answers with its starred algorithm, and wins over the X commands.
    TRemoteHash hash = choose({"211-Features:", " XSHA256", " HASH SHA-1;SHA-256*;MD5", "211 End"});
    EXPECT_EQ(hash.Command, "HASH");
    EXPECT_EQ(hash.Algorithm, "SHA-256");
    // Words in a feature line's own text are not features; an unknown starred algorithm is no use.
    EXPECT_TRUE(choose({"211-XMD5 is not here", "211 End"}).Command.empty());
    EXPECT_EQ(choose({" HASH FOO*;MD5", " XCRC"}).Command, "XCRC");
}

TEST(RemoteHash, TheDigestIsReadFromTheReplysWords)
{
    EXPECT_EQ(ParseHashReply("250 B9A862DA2BEE4C52DCC711CB838E7926", "MD5"), "b9a862da2bee4c52dcc711cb838e7926");
    EXPECT_EQ(ParseHashReply("213 SHA-1 0-99 da39a3ee5e6b4b0d3255bfef95601890afd80709 file name.bin", "SHA-1"),
              "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(ParseHashReply("250 0x1A2B3C4D", "CRC32"), "1a2b3c4d");
    EXPECT_EQ(ParseHashReply("250 1a2b3c4", "CRC32"), ""); // too short
    EXPECT_EQ(ParseHashReply("550 No such file", "MD5"), "");
    EXPECT_EQ(ParseHashReply("250 " + std::string(32, 'g'), "MD5"), ""); // not hexadecimal
}

TEST(WalkTrust, ServerPathsThatClimbAreNotPlain)
{
    EXPECT_TRUE(IsPlainRemoteDir("/"));
    EXPECT_TRUE(IsPlainRemoteDir("/pub/tree/"));
    EXPECT_TRUE(IsPlainRemoteDir("/a b/c.d/"));
    EXPECT_FALSE(IsPlainRemoteDir("/../../tmp/x/"));
    EXPECT_FALSE(IsPlainRemoteDir("/pub/./x/"));
    EXPECT_FALSE(IsPlainRemoteDir("relative/"));
    EXPECT_FALSE(IsPlainRemoteDir(""));
    EXPECT_FALSE(IsPlainRemoteDir("/pub/\x1b[2J/"));
}

TEST(WalkTrust, ANulEndsItsLineNotTheListing)
{
    auto listing = std::make_shared<platform::TMemoryStream>();
    std::string text = std::string("-rw-r--r-- 1 a a 5 Jan 1 2020 fir") + '\0' + "st.bin\r\n" +
                       "-rw-r--r-- 1 a a 7 Jan 1 2020 second.bin\r\n";
    listing->Write(text.data(), static_cast<int64_t>(text.size()));
    FinishListing(*listing);
    TListingCache cache;
    cache.Current = listing;
    std::vector<TDirAnalyze> entries = ParseListing(cache.CurrentText());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].EntryName(), "fir");
    EXPECT_EQ(entries[1].EntryName(), "second.bin");
}
