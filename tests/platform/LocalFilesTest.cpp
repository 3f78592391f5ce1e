// Local paths checked before a transfer writes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include "platform/LocalFiles.h"

namespace fs = std::filesystem;

TEST(LocalFiles, APathIsInsideItsDirectoryOnlyWithEveryLinkResolved)
{
    QTemporaryDir base;
    std::string root = base.path().toStdString();
    fs::create_directories(root + "/target/sub");
    fs::create_directories(root + "/elsewhere");
    fs::create_directory_symlink(root + "/elsewhere", root + "/target/away");
    fs::create_directory_symlink(root + "/target/sub", root + "/target/near");
    std::ofstream(root + "/elsewhere/secret") << "x";
    fs::create_symlink(root + "/elsewhere/secret", root + "/target/sub/file.txt");
    std::string target = root + "/target/";

    EXPECT_TRUE(platform::isInsideDirectory(target + "sub/new.bin", target));
    EXPECT_TRUE(platform::isInsideDirectory(target + "not/yet/made.bin", target));
    EXPECT_TRUE(platform::isInsideDirectory(target + "near/new.bin", target)); // a link that stays inside
    EXPECT_FALSE(platform::isInsideDirectory(target + "away/new.bin", target));
    EXPECT_FALSE(platform::isInsideDirectory(target + "sub/file.txt", target)); // the file itself is a link out
    // Links to nothing yet count as where they lead, through chains and relative targets too.
    fs::create_symlink(root + "/elsewhere/not-yet", target + "sub/dangling");
    fs::create_symlink("../sub/dangling", target + "sub/chained");
    fs::create_symlink("later.bin", target + "sub/stays");
    fs::create_symlink("loop", target + "sub/loop");
    EXPECT_FALSE(platform::isInsideDirectory(target + "sub/dangling", target));
    EXPECT_FALSE(platform::isInsideDirectory(target + "sub/chained", target));
    EXPECT_TRUE(platform::isInsideDirectory(target + "sub/stays", target));
    EXPECT_FALSE(platform::isInsideDirectory(target + "sub/loop", target));
    EXPECT_TRUE(platform::isSymbolicLink(target + "sub/dangling"));
    EXPECT_FALSE(platform::isSymbolicLink(target + "sub"));
    EXPECT_FALSE(platform::isInsideDirectory(target + "../elsewhere/x", target));
    EXPECT_FALSE(platform::isInsideDirectory(target + "missing/../../elsewhere/x", target));
    EXPECT_FALSE(platform::isInsideDirectory(target, target)); // the directory itself is no file in it
    EXPECT_FALSE(platform::isInsideDirectory(root + "/targetx/file", target));
}

TEST(LocalFiles, OnlyRegularFilesCountAndTheDescriptorLimitRises)
{
    QTemporaryDir base;
    std::string root = base.path().toStdString();
    std::ofstream(root + "/plain") << "x";
    ASSERT_EQ(::mkfifo((root + "/pipe").c_str(), 0600), 0);
    EXPECT_TRUE(platform::isRegularFile(root + "/plain"));
    EXPECT_FALSE(platform::isRegularFile(root + "/pipe"));
    EXPECT_FALSE(platform::isRegularFile(root));

    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    int soft = platform::raiseDescriptorLimit();
    EXPECT_EQ(static_cast<rlim_t>(soft), std::min<rlim_t>(before.rlim_max, INT32_MAX));
}
