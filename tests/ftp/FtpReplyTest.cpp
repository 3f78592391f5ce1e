#include <gtest/gtest.h>

#include "ftp/FtpReply.h"

TEST(FtpReply, CodesAndContinuationMarks)
{
    int code = 0;
    bool continued = false;
    EXPECT_TRUE(ParseReplyCode("230 Login ok", code, continued));
    EXPECT_EQ(code, 230);
    EXPECT_FALSE(continued);
    EXPECT_TRUE(ParseReplyCode("230-Welcome", code, continued));
    EXPECT_EQ(code, 230);
    EXPECT_TRUE(continued);
    EXPECT_TRUE(ParseReplyCode(" \t+211 x", code, continued));
    EXPECT_EQ(code, 211);
    EXPECT_TRUE(ParseReplyCode("999999999999999999999 huge", code, continued));
    EXPECT_GT(code, 0); // bounded, never overflowing into a negative code
    EXPECT_FALSE(ParseReplyCode(" MDTM", code, continued));

    EXPECT_TRUE(IsFinalReplyLine("226 done"));
    EXPECT_TRUE(IsFinalReplyLine("226"));
    EXPECT_FALSE(IsFinalReplyLine("226-more"));
    EXPECT_FALSE(IsFinalReplyLine(" 226 indented"));
    EXPECT_FALSE(IsFinalReplyLine(""));
}

TEST(FtpReply, QuotedDirectoryNames)
{
    EXPECT_EQ(ParseQuotedDir("257 \"/pub\" is current"), "/pub");
    EXPECT_EQ(ParseQuotedDir("257 \"/a \"\"b\"\" c\" created"), "/a \"b\" c");
    EXPECT_EQ(ParseQuotedDir("257   \"/x\""), "/x");
    EXPECT_EQ(ParseQuotedDir("257 \"/unterminated"), "/unterminated");
    EXPECT_EQ(ParseQuotedDir("250 CWD ok"), "");
    EXPECT_EQ(ParseQuotedDir("257 \"\""), "");
}

TEST(FtpReply, SizesAndTimesAreReadAndChecked)
{
    int64_t size = -1;
    int64_t seconds = 0;
    EXPECT_TRUE(ParseTimeReply("213 20010203040506", seconds));
    EXPECT_EQ(seconds, 981173106);
    EXPECT_TRUE(ParseTimeReply("213 20010203040506.250", seconds));
    EXPECT_EQ(seconds, 981173106);
    EXPECT_FALSE(ParseTimeReply("213 2001020304", seconds));
    EXPECT_FALSE(ParseTimeReply("213 20011303040506", seconds)); // month 13
    EXPECT_FALSE(ParseTimeReply("550 No such file", seconds));
    EXPECT_TRUE(ParseSizeReply("213 5368709120", size));
    EXPECT_EQ(size, 5368709120LL);
    EXPECT_TRUE(ParseSizeReply("213 0", size));
    EXPECT_EQ(size, 0);
    EXPECT_FALSE(ParseSizeReply("213 99999999999999999999", size));
    EXPECT_FALSE(ParseSizeReply("213 ", size));
}
