// A file written on a thread of its own: the newest content is what ends on disk.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/AtomicFile.h"
#include "platform/BackgroundWriter.h"

TEST(BackgroundWriter, TheNewestContentIsWrittenAndADroppedOneIsNot)
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/journal.ini";
    std::string bytes;
    {
        platform::TBackgroundWriter writer;
        for (int n = 0; n < 200; ++n)
            writer.Write(path, "content " + std::to_string(n));
        ASSERT_TRUE(writer.Settle());
        ASSERT_TRUE(platform::readWholeFile(path, bytes));
        EXPECT_EQ(bytes, "content 199");

        writer.Write(path, "dropped");
        writer.Drop();
        ASSERT_TRUE(platform::readWholeFile(path, bytes));
        EXPECT_TRUE(bytes == "content 199" || bytes == "dropped"); // a write under way is finished

        writer.Write(dir.path().toStdString() + "/missing/journal.ini", "nowhere");
        EXPECT_FALSE(writer.Settle());
        writer.Write(path, "last");
    } // what was handed over is written before the writer goes
    ASSERT_TRUE(platform::readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "last");
}
