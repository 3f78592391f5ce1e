#include <gtest/gtest.h>

#include <string>

#include "net/WSockBuf.h"

TEST(TBuffer, FillsDrainsAndStartsOverWhenEmptied)
{
    TBuffer block(0);
    EXPECT_EQ(block.BufSize(), 1514);
    std::string data(2000, 'x');
    EXPECT_EQ(block.Write(data.data(), 2000), 1514);
    EXPECT_TRUE(block.Full());
    block.Remove(1000);
    EXPECT_EQ(block.RdCount(), 1000);
    int32_t pending = 0;
    block.Peek(pending);
    EXPECT_EQ(pending, 514);
    block.Remove(514);
    EXPECT_EQ(block.RdCount(), 0);
    EXPECT_EQ(block.WrCount(), 0);
    EXPECT_EQ(block.Write("abc", 3), 3);
}

TEST(TBuffer, ResizingKeepsPendingBytes)
{
    TBuffer block(8);
    block.Write("abcdefgh", 8);
    block.Remove(2);
    block.SetBufSize(16);
    int32_t pending = 0;
    const char* bytes = block.Peek(pending);
    EXPECT_EQ(std::string(bytes, pending), "cdefgh");
    EXPECT_EQ(block.Write("ij", 2), 2);
    bytes = block.Peek(pending);
    EXPECT_EQ(std::string(bytes, pending), "cdefghij");
}
