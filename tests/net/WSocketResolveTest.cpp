#include <gtest/gtest.h>

#include <arpa/inet.h>

#include "net/WSocketErrors.h"
#include "net/WSocketResolve.h"
#include "support/Exceptions.h"

using testsupport::exceptionMessage;

TEST(WSocketResolveHost, ConvertsDottedTextAndChecksIt)
{
    EXPECT_EQ(WSocketResolveHost("127.0.0.1"), htonl(0x7f000001));
    EXPECT_EQ(WSocketResolveHost("  10.0.0.1 "), htonl(0x0a000001));
    EXPECT_EQ(WSocketResolveHost("255.255.255.255"), 0xffffffffu);
    EXPECT_EQ(WSocketResolveHost("localhost"), htonl(0x7f000001));
    EXPECT_EQ(exceptionMessage([] { WSocketResolveHost("1.2.3.999"); }),
              "WSocketResolveHost: '1.2.3.999' Invalid IP address.");
    EXPECT_EQ(exceptionMessage([] { WSocketResolveHost(""); }), "WSocketResolveHost: '' Invalid Hostname.");
    std::string longName(257, 'a');
    EXPECT_EQ(exceptionMessage([&] { WSocketResolveHost(longName); }),
              "WSocketResolveHost: '" + longName + "' Invalid Hostname.");
    EXPECT_EQ(exceptionMessage([] { WSocketResolveHost("no-such-host..invalid"); }),
              "WSocketResolveHost: Cannot convert host address 'no-such-host..invalid', Error #11001");
}

TEST(WSocketResolveHost, RecognisesOnlyThreeDotForms)
{
    EXPECT_TRUE(WSocketIsDottedForm(" 1.2.3.4 "));
    EXPECT_TRUE(WSocketIsDottedForm("1.2.3.999"));
    EXPECT_FALSE(WSocketIsDottedForm(".1.2.3"));
    EXPECT_FALSE(WSocketIsDottedForm("1.2.3"));
    EXPECT_FALSE(WSocketIsDottedForm("1.2.3.4.5"));
    EXPECT_FALSE(WSocketIsDottedForm("1.2..4"));
    EXPECT_FALSE(WSocketIsDottedForm("1.2.3.4a"));
}

TEST(WSocketResolvePort, NumbersServicesAndBadText)
{
    EXPECT_EQ(WSocketResolvePort("21", "tcp"), 21);
    EXPECT_EQ(WSocketResolvePort("  8021abc", "tcp"), 8021);
    EXPECT_EQ(WSocketResolvePort("ftp", "tcp"), 21);
    EXPECT_EQ(WSocketResolvePort("ftp", ""), 21);
    EXPECT_EQ(WSocketResolvePort("65535", "tcp"), 65535);
    EXPECT_EQ(exceptionMessage([] { WSocketResolvePort("", "tcp"); }), "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(exceptionMessage([] { WSocketResolvePort(std::string(32, '1'), "tcp"); }),
              "WSocketResolvePort: Invalid Port.");
    // A number beyond 16 bits must not wrap to another port.
    EXPECT_EQ(exceptionMessage([] { WSocketResolvePort("65557", "tcp"); }), "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(exceptionMessage([] { WSocketResolvePort("nosuchservice", "tcp"); }),
              "WSocketResolvePort: Cannot convert port 'nosuchservice', Error #11004");
}

TEST(WSocketResolveProto, NumbersNamesAndBadText)
{
    EXPECT_EQ(WSocketResolveProto("tcp"), 6);
    EXPECT_EQ(WSocketResolveProto("udp"), 17);
    EXPECT_EQ(WSocketResolveProto("17"), 17);
    EXPECT_EQ(exceptionMessage([] { WSocketResolveProto(""); }), "WSocketResolveProto: Invalid Protocol.");
    EXPECT_EQ(exceptionMessage([] { WSocketResolveProto("nosuchproto"); }),
              "WSocketResolveProto: Cannot convert protocol 'nosuchproto', Error #11004");
}
