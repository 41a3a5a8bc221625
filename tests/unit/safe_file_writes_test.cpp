#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <functional>

#include "unit/temp_folder.h"

using namespace pellion;

TEST(Files, WholeWriteReplacesAndLeavesNoTemporaryFileOrFailsIntoAMissingFolder) {
    test::TempFolder dir;
    const std::string p = dir.path() + "clip.dat";
    ASSERT_TRUE(files::writeWhole(p, std::string("first content")));
    ASSERT_TRUE(files::writeWhole(p, files::Bytes{1, 2, 3}));
    EXPECT_EQ(*files::readAll(p), (files::Bytes{1, 2, 3}));
    EXPECT_EQ(files::list(dir.path(), "*").size(), 1u);
    struct stat st{};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(files::writeWhole(dir.path() + "nope/x.dat", std::string("a")));
    EXPECT_FALSE(files::exists(dir.path() + "nope"));
}

// Each kind of write against a link planted where a data file belongs: the
// write is refused, the link stays a link, its target keeps its bytes and mode,
// and a dangling link's target is never created.
TEST(Files, NoWriteGoesThroughAPlantedLink) {
    const std::vector<std::pair<const char*, std::function<bool(const std::string&)>>> writes = {
        {"whole-file replace", [](const std::string& p) { return files::writeWhole(p, std::string("new")); }},
        {"in-place patch", [](const std::string& p) { return files::patch(p, 2, {'X'}); }},
        {"make writable", [](const std::string& p) { return files::prepare(p); }},
        {"copy onto", [](const std::string& p) {
             return files::writeWhole(p + ".src", std::string("s")) && files::copy(p + ".src", p);
         }},
        {"rename onto", [](const std::string& p) {
             return files::writeWhole(p + ".src", std::string("s")) && files::rename(p + ".src", p);
         }},
        {"built piece by piece", [](const std::string& p) {
             files::WholeFileWriter w(p);
             return w.append(files::Bytes{1, 2}) && w.commit();
         }},
        {"lock", [](const std::string& p) {
             files::FileLock lock;
             return lock.acquire(p) == files::FileLock::Result::Taken || lock.setContent("42\n");
         }},
    };
    for (const auto& [what, write] : writes) {
        for (bool dangling : {false, true}) {
            test::TempFolder dir, elsewhere;
            const std::string victim = elsewhere.path() + "victim", link = dir.path() + "clip.dat";
            if (!dangling) {
                ASSERT_TRUE(files::writeWhole(victim, std::string("victim bytes")));
                ::chmod(victim.c_str(), 0444);
            }
            ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
            testing::internal::CaptureStderr();
            EXPECT_FALSE(write(link)) << what;
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_NE(said.find(link + " is a symbolic link"), std::string::npos) << what << ": " << said;
            EXPECT_TRUE(files::isLink(link)) << what;
            struct stat st{};
            if (dangling) {
                EXPECT_NE(::lstat(victim.c_str(), &st), 0) << what << ": the target was created";
                continue;
            }
            EXPECT_EQ(*files::readAll(victim), files::Bytes({'v', 'i', 'c', 't', 'i', 'm', ' ', 'b', 'y', 't', 'e', 's'}))
                << what;
            ASSERT_EQ(::stat(victim.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0444u) << what;
        }
    }
}

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
