#include "platform/launch_checks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/shell.h"
#include "unit/temp_folder.h"

using namespace pellion::platform;

namespace {

std::string makeFile(const std::string& path, mode_t mode) {
    std::ofstream(path) << "#!/bin/sh\n";
    ::chmod(path.c_str(), mode);
    return path;
}

}  // namespace

TEST(LaunchChecks, ProgramByExtensionInAnyCaseOrByPermission) {
    for (const char* name : {"/x/a.exe", "/x/a.Exe", "C.COM", "run.bat", "r.BaT"})
        EXPECT_TRUE(hasProgramExtension(name)) << name;
    for (const char* name : {"a.exe.txt", "exe", ".ex", "/x/a.exec", ""})
        EXPECT_FALSE(hasProgramExtension(name)) << name;

    pellion::test::TempFolder dir;
    EXPECT_TRUE(isProgramFile(makeFile(dir.path() + "tool", 0755)));
    EXPECT_FALSE(isProgramFile(makeFile(dir.path() + "notes", 0644)));
    EXPECT_TRUE(isProgramFile(makeFile(dir.path() + "SETUP.EXE", 0644)));
    EXPECT_FALSE(isProgramFile(dir.path()));  // a folder may be entered, not run
}

TEST(LaunchChecks, StartFolderMustBeAFolder) {
    pellion::test::TempFolder dir;
    EXPECT_EQ(checkStartFolder(""), kShellOk);
    EXPECT_EQ(checkStartFolder(dir.path()), kShellOk);
    EXPECT_EQ(checkStartFolder(dir.path() + "gone"), kShellNoStartFolder);
    EXPECT_EQ(checkStartFolder(makeFile(dir.path() + "file", 0644)), kShellNoStartFolder);
}

TEST(LaunchChecks, ProgramIsFoundOrGetsItsCode) {
    pellion::test::TempFolder dir;
    std::string resolved;
    EXPECT_EQ(checkProgram(makeFile(dir.path() + "tool", 0755), "", &resolved), kShellOk);
    EXPECT_EQ(resolved, dir.path() + "tool");
    EXPECT_EQ(checkProgram(dir.path() + "gone", ""), kShellMissing);
    EXPECT_EQ(checkProgram(makeFile(dir.path() + "notes", 0644), ""), kShellCannotRun);
    EXPECT_EQ(checkProgram(dir.path(), ""), kShellCannotRun);
    EXPECT_EQ(checkProgram("", ""), kShellMissing);

    // Relative paths start from the start folder; bare names go through PATH.
    EXPECT_EQ(checkProgram("./tool", dir.path(), &resolved), kShellOk);
    EXPECT_EQ(resolved, dir.path() + "./tool");
    EXPECT_EQ(checkProgram("sh", "", &resolved), kShellOk);
    EXPECT_EQ(resolved.front(), '/');
    EXPECT_EQ(checkProgram("pellion-no-such-program", ""), kShellMissing);
}
