#include <gtest/gtest.h>

#include <string>

#include "platform/EventLoop.h"
#include "platform/NameLookup.h"
#include "support/WaitFor.h"

using testsupport::waitFor;

TEST(EventLoop, PostedCallsRunLaterInPostingOrderAcrossTargets)
{
    platform::PostTarget first;
    platform::PostTarget second;
    std::string order;
    first.post([&] { order += "a"; });
    second.post([&] { order += "b"; });
    first.post([&] { order += "c"; });
    EXPECT_EQ(order, ""); // never inside the posting call
    EXPECT_TRUE(waitFor([&] { return order.size() == 3; }, 2000));
    EXPECT_EQ(order, "abc");
}

TEST(EventLoop, CallsOfAGoneOrCancelledTargetAreDropped)
{
    int ran = 0;
    {
        platform::PostTarget gone;
        gone.post([&] { ++ran; });
    }
    platform::PostTarget target;
    target.post([&] { ran += 10; });
    target.cancelPending();
    target.post([&] { ran += 100; });
    EXPECT_TRUE(waitFor([&] { return ran != 0; }, 2000));
    testsupport::pumpFor(50);
    EXPECT_EQ(ran, 100);
}

TEST(EventLoop, NestedPumpingRunsCallsPostedBeforeAndDuringIt)
{
    platform::PostTarget target;
    std::string order;
    target.post([&] {
        order += "outer(";
        target.post([&] { order += "inner"; });
        testsupport::waitFor([&] { return order.find("inner") != std::string::npos; }, 2000);
        order += ")";
    });
    EXPECT_TRUE(waitFor([&] { return order.find(')') != std::string::npos; }, 2000));
    EXPECT_EQ(order, "outer(inner)");
}

TEST(NameLookup, FindsLoopbackNamesAndReportsUnknownOnes)
{
    platform::LookupResult found;
    platform::LookupResult missing;
    bool foundDone = false;
    bool missingDone = false;
    platform::lookupHost("localhost", [&](const platform::LookupResult& r) { found = r, foundDone = true; });
    // An empty label fails inside the resolver without asking any name server.
    platform::lookupHost("no-such-host..invalid",
                         [&](const platform::LookupResult& r) { missing = r, missingDone = true; });
    EXPECT_FALSE(foundDone);
    ASSERT_TRUE(waitFor([&] { return foundDone && missingDone; }));
    EXPECT_EQ(found.error, 0);
    ASSERT_FALSE(found.addresses.empty());
    EXPECT_EQ(found.addresses.front(), "127.0.0.1");
    EXPECT_NE(missing.error, 0);
}

TEST(NameLookup, ACancelledLookupNeverCallsBack)
{
    bool called = false;
    int id = platform::lookupHost("localhost", [&](const platform::LookupResult&) { called = true; });
    platform::cancelLookup(id);
    testsupport::pumpFor(300);
    EXPECT_FALSE(called);
}
