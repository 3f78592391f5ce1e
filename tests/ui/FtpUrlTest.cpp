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
    // The fields an address leaves out keep what the tool bar held ("old-...").
    struct Case
    {
        const char* text;
        const char* host;
        const char* port;
        const char* user;
        const char* pass;
        const char* dir;
    };
    const Case cases[] = {
        {"FTP://anonymous:me@x@h:21/pub/sub/file.txt", "x@h", "21", "anonymous", "me", "pub/sub"}, // first "@" ends it
        {"ftp://anonymous:secret@h:21/pub/", "h", "21", "anonymous", "secret", "pub"},
        {"ftp://joe:pw@h/a/b/c.txt", "h", "old-port", "joe", "pw", "a/b"},
        {"ftp://h:2121/pub/", "h", "2121", "old-user", "old-pass", "/pub"},
        {"h/pub/dir/file.txt", "h", "old-port", "old-user", "old-pass", "/pub/dir"},
        {"h:21:u:pa:ss", "h", "21", "u", "pa:ss", "old-dir"}, // a history entry, ":" in its password
        {"h:21", "h", "21", "old-user", "old-pass", "old-dir"},
        {"ftp://u%40m@host:2121/pub/", "host", "2121", "u@m", "", "pub"}, // a user without a password
        {"ftp://joe:p%3Aw@h/my%20files/", "h", "old-port", "joe", "p:w", "my files"},
        {"ftp://joe:pw@[::1]:2121/pub/", "::1", "2121", "joe", "pw", "pub"},
        {"ftp://joe:pw@[fe80::1]/a/f.txt", "fe80::1", "old-port", "joe", "pw", "a"},
        {"[::1]:21/pub/", "::1", "21", "old-user", "old-pass", "/pub"},
        {"[::1]:21:ann:secret", "::1", "21", "ann", "secret", "old-dir"}, // as the host history keeps one
    };
    for (const Case& c : cases) {
        Parsed parsed = parse(c.text);
        EXPECT_EQ(parsed.fields.HostName, c.host) << c.text;
        EXPECT_EQ(parsed.fields.Port, c.port) << c.text;
        EXPECT_EQ(parsed.fields.User, c.user) << c.text;
        EXPECT_EQ(parsed.fields.Pass, c.pass) << c.text;
        EXPECT_EQ(parsed.remoteDir, c.dir) << c.text;
    }
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
