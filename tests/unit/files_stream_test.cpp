#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/files.h"
#include "unit/temp_folder.h"

using namespace pellion;

TEST(FilesStream, WriterReplacesOnlyOnCommit) {
    test::TempFolder dir;
    const std::string p = dir.path() + "clip.tmp";
    ASSERT_TRUE(files::writeWhole(p, std::string("old")));
    {
        files::WholeFileWriter w(p);
        ASSERT_TRUE(w.append("abcd", 4));
        EXPECT_EQ(*files::readAll(p), (files::Bytes{'o', 'l', 'd'}));
    }  // dropped: the old file stays, no temporary is left
    EXPECT_EQ(files::list(dir.path(), "*"), std::vector<std::string>{"clip.tmp"});

    files::WholeFileWriter w(p);
    ASSERT_TRUE(w.append("abcd", 4));
    EXPECT_FALSE(w.patch(3, "XY", 2));  // beyond what was written
    ASSERT_TRUE(w.patch(1, "XY", 2));
    ASSERT_TRUE(w.commit());
    EXPECT_EQ(*files::readAll(p), (files::Bytes{'a', 'X', 'Y', 'd'}));
    struct stat st{};
    ::stat(p.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(FilesStream, ReaderReadsWholePiecesOnly) {
    test::TempFolder dir;
    ASSERT_TRUE(files::writeWhole(dir.path() + "f", std::string("0123456789")));
    files::Reader r(dir.path() + "f");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.size(), 10u);
    char buf[4] = {};
    ASSERT_TRUE(r.readAt(6, buf, 4));
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_FALSE(r.readAt(7, buf, 4));
    files::Reader missing(dir.path() + "none");
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(missing.readAt(0, buf, 1));
}

TEST(FilesStream, LockIsExclusiveAndLeavesTheFileAsItWas) {
    test::TempFolder dir;
    const std::string p = dir.path() + "pellion.lock";
    files::FileLock first;
    ASSERT_EQ(first.acquire(p), files::FileLock::Result::Taken);
    ASSERT_TRUE(first.setContent("12345\n"));
    ASSERT_TRUE(first.setContent("7\n"));
    EXPECT_EQ(*files::readAll(p), (files::Bytes{'7', '\n'}));
    struct stat before{}, after{};
    ::stat(p.c_str(), &before);

    files::FileLock second;
    EXPECT_EQ(second.acquire(p), files::FileLock::Result::Busy);
    EXPECT_FALSE(second.held());
    ::stat(p.c_str(), &after);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);

    first.release();
    EXPECT_EQ(second.acquire(p), files::FileLock::Result::Taken);
    EXPECT_EQ(files::FileLock().acquire(dir.path() + "no/such/folder"), files::FileLock::Result::Failed);
}
