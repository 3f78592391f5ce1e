#include <gtest/gtest.h>

#include <cerrno>

#include <netdb.h>

#include "net/WSocketErrors.h"

TEST(WSocketErrorDesc, KnowsTheTableAndNothingElse)
{
    EXPECT_EQ(WSocketErrorDesc(0), "No Error");
    EXPECT_EQ(WSocketErrorDesc(10035), "Operation would block");
    EXPECT_EQ(WSocketErrorDesc(10047), "Address family not supported by protocol family");
    EXPECT_EQ(WSocketErrorDesc(10061), "Connection refused");
    EXPECT_EQ(WSocketErrorDesc(10093), "WinSock not initialized");
    EXPECT_EQ(WSocketErrorDesc(11001), "Host not found");
    EXPECT_EQ(WSocketErrorDesc(11004), "No Data");
    EXPECT_EQ(WSocketErrorDesc(10072), "Not a WinSock error"); // a gap in the numbering
    EXPECT_EQ(WSocketErrorDesc(-1), "Not a WinSock error");
}

TEST(MapSocketError, SystemErrorsBecomeTheProgramsCodes)
{
    EXPECT_EQ(MapSocketError(0), 0);
    EXPECT_EQ(MapSocketError(EAGAIN), 10035);
    EXPECT_EQ(MapSocketError(EWOULDBLOCK), 10035);
    EXPECT_EQ(MapSocketError(ECONNREFUSED), 10061);
    EXPECT_EQ(MapSocketError(ECONNRESET), 10054);
    EXPECT_EQ(MapSocketError(EPIPE), 10054);
    EXPECT_EQ(MapSocketError(ENOTCONN), 10057);
    EXPECT_EQ(MapSocketError(ETIMEDOUT), 10060);
    EXPECT_EQ(MapSocketError(EADDRINUSE), 10048);
    EXPECT_EQ(MapResolverError(EAI_NONAME), 11001);
    EXPECT_EQ(MapResolverError(EAI_AGAIN), 11002);
    EXPECT_EQ(MapResolverError(EAI_FAIL), 11003);
    EXPECT_EQ(MapResolverError(EAI_NODATA), 11004);
}
