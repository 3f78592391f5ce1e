#include <gtest/gtest.h>

#include "ui/FtpUrl.h"

namespace {

struct Parsed
{
    TToolBarFields fields{"old-host", "old-port", "old-user", "old-pass"};
    std::string remoteDir = "old-dir";
};

Parsed parse(const std::string& text)
{
    Parsed parsed;
    ParseFtpUrl(text, parsed.fields, parsed.remoteDir);
    return parsed;
}

} // namespace

TEST(ParseFtpUrl, EveryShapeOfTheAddressTable)
{
    Parsed full = parse("FTP://anonymous:me@x@h:21/pub/sub/file.txt");
    EXPECT_EQ(full.fields.User, "anonymous");
    EXPECT_EQ(full.fields.Pass, "me"); // the first "@" ends the password
    EXPECT_EQ(full.fields.HostName, "x@h");

    Parsed withPort = parse("ftp://anonymous:secret@h:21/pub/");
    EXPECT_EQ(withPort.fields.HostName, "h");
    EXPECT_EQ(withPort.fields.Port, "21");
    EXPECT_EQ(withPort.fields.User, "anonymous");
    EXPECT_EQ(withPort.fields.Pass, "secret");
    EXPECT_EQ(withPort.remoteDir, "pub");

    Parsed noPort = parse("ftp://joe:pw@h/a/b/c.txt");
    EXPECT_EQ(noPort.fields.HostName, "h");
    EXPECT_EQ(noPort.fields.Port, "old-port");
    EXPECT_EQ(noPort.remoteDir, "a/b");

    Parsed hostPort = parse("ftp://h:2121/pub/");
    EXPECT_EQ(hostPort.fields.HostName, "h");
    EXPECT_EQ(hostPort.fields.Port, "2121");
    EXPECT_EQ(hostPort.fields.User, "old-user");
    EXPECT_EQ(hostPort.fields.Pass, "old-pass");
    EXPECT_EQ(hostPort.remoteDir, "/pub");

    Parsed hostPath = parse("h/pub/dir/file.txt");
    EXPECT_EQ(hostPath.fields.HostName, "h");
    EXPECT_EQ(hostPath.fields.Port, "old-port");
    EXPECT_EQ(hostPath.remoteDir, "/pub/dir");

    Parsed history = parse("h:21:u:pa:ss"); // a password with ":" in a history entry
    EXPECT_EQ(history.fields.HostName, "h");
    EXPECT_EQ(history.fields.Port, "21");
    EXPECT_EQ(history.fields.User, "u");
    EXPECT_EQ(history.fields.Pass, "pa:ss");
    EXPECT_EQ(history.remoteDir, "old-dir");

    Parsed bare = parse("h:21");
    EXPECT_EQ(bare.fields.HostName, "h");
    EXPECT_EQ(bare.fields.Port, "21");
    EXPECT_EQ(bare.fields.Pass, "old-pass");

    // A "@" of a user name is written "%40"; a user may come without a password.
    Parsed encoded = parse("ftp://u%40m@host:2121/pub/");
    EXPECT_EQ(encoded.fields.User, "u@m");
    EXPECT_EQ(encoded.fields.Pass, "");
    EXPECT_EQ(encoded.fields.HostName, "host");
    EXPECT_EQ(encoded.fields.Port, "2121");
    EXPECT_EQ(encoded.remoteDir, "pub");
    Parsed spaced = parse("ftp://joe:p%3Aw@h/my%20files/");
    EXPECT_EQ(spaced.fields.Pass, "p:w");
    EXPECT_EQ(spaced.remoteDir, "my files");
}

TEST(ParseFtpUrl, BracketedIPv6Hosts)
{
    Parsed login = parse("ftp://joe:pw@[::1]:2121/pub/");
    EXPECT_EQ(login.fields.HostName, "::1");
    EXPECT_EQ(login.fields.Port, "2121");
    EXPECT_EQ(login.fields.User, "joe");
    EXPECT_EQ(login.remoteDir, "pub");

    Parsed noPort = parse("ftp://joe:pw@[fe80::1]/a/f.txt");
    EXPECT_EQ(noPort.fields.HostName, "fe80::1");
    EXPECT_EQ(noPort.fields.Port, "old-port");
    EXPECT_EQ(noPort.remoteDir, "a");

    Parsed plain = parse("[::1]:21/pub/");
    EXPECT_EQ(plain.fields.HostName, "::1");
    EXPECT_EQ(plain.fields.Port, "21");
    EXPECT_EQ(plain.remoteDir, "/pub");

    Parsed history = parse("[::1]:21:ann:secret"); // as the host history keeps one
    EXPECT_EQ(history.fields.HostName, "::1");
    EXPECT_EQ(history.fields.Port, "21");
    EXPECT_EQ(history.fields.User, "ann");
    EXPECT_EQ(history.fields.Pass, "secret");
}

TEST(ParseFtpUrl, SftpAddressesAndAPortWithNoPathAfterIt)
{
    Parsed sftp = parse("sftp://joe:pw@h/home/joe/x/");
    EXPECT_TRUE(sftp.fields.Sftp);
    EXPECT_EQ(sftp.fields.Port, "22");
    EXPECT_EQ(sftp.fields.Security, -1);
    EXPECT_EQ(sftp.fields.HostName, "h");
    EXPECT_EQ(sftp.remoteDir, "/home/joe/x"); // from the root, as curl reads sftp:// paths
    EXPECT_EQ(parse("sftp://joe@h/~/site/").remoteDir, "site"); // from the home directory
    EXPECT_EQ(parse("sftp://h/srv/www/").remoteDir, "/srv/www");

    // A port closes the address: it is the port, not a part of the host.
    Parsed ending = parse("sftp://joe:pw@h:2222");
    EXPECT_EQ(ending.fields.HostName, "h");
    EXPECT_EQ(ending.fields.Port, "2222");
    Parsed ftp = parse("ftp://joe:pw@[::1]:2121");
    EXPECT_FALSE(ftp.fields.Sftp);
    EXPECT_EQ(ftp.fields.HostName, "::1");
    EXPECT_EQ(ftp.fields.Port, "2121");
}
