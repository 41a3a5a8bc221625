// Starting programs and opening documents, under a private XDG configuration
// whose only application records its arguments and working folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/desktop_support.h"
#include "platform/x11/x11_shell.h"

using namespace pellion;
using namespace pellion::test;
namespace fs = std::filesystem;

namespace {

std::string root;  // the private configuration and its files, without the final "/"

void write(const std::string& path, const std::string& text, mode_t mode = 0644) {
    std::ofstream(path) << text;
    ::chmod(path.c_str(), mode);
}

class Shell : public ::testing::Test {
protected:
    // GLib reads the XDG variables once per process: set them before any use.
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "pellion-shell-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        root = pattern;
        for (const char* dir : {"/data/mime/packages", "/data/applications", "/config", "/sys", "/docs", "/start"})
            fs::create_directories(root + dir);
        ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root + "/sys").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root + "/sys").c_str(), 1);
        write(root + "/data/mime/packages/pellion-test.xml",
              "<?xml version=\"1.0\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-pellion-note\"><glob pattern=\"*.pnote\"/></mime-type>\n"
              "  <mime-type type=\"application/x-pellion-orphan\"><glob pattern=\"*.porphan\"/></mime-type>\n"
              "</mime-info>\n");
        ASSERT_EQ(run({"update-mime-database", root + "/data/mime"}).status, 0);
        const std::string recorder = root + "/recorder.sh";
        write(recorder,
              "#!/bin/sh\nout='" + root + "/record.txt'\n"
              "{ pwd; for a in \"$@\"; do printf 'ARG:%s\\n' \"$a\"; done; } > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n",
              0755);
        fs::copy_file(recorder, root + "/my tool");
        ::chmod((root + "/my tool").c_str(), 0755);
        write(root + "/data/applications/pellion-recorder.desktop",
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + recorder +
                  " %f\nMimeType=application/x-pellion-note;inode/directory;\n");
        write(root + "/config/mimeapps.list",
              "[Default Applications]\napplication/x-pellion-note=pellion-recorder.desktop\n"
              "inode/directory=pellion-recorder.desktop\n");
        write(root + "/docs/letter.pnote", "a note\n");
        write(root + "/docs/stray.porphan", std::string("\x01\x02\x03\x00", 4));
        write(root + "/plainfile", "not a folder");
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    void SetUp() override {
        ensureApp();
        fs::remove(root + "/record.txt");
    }

    // The recorder's working folder and arguments, once it has run.
    std::optional<std::vector<std::string>> record(int milliseconds = 5000) {
        if (!spinUntil([] { return fs::exists(root + "/record.txt"); }, milliseconds)) return std::nullopt;
        std::ifstream in(root + "/record.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        fs::remove(root + "/record.txt");
        return lines;
    }

    platform::x11::X11Shell shell;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(Shell, DocumentsAndFoldersOpenWithTheirDefaultApplication) {
    const std::string doc = root + "/docs/letter.pnote";
    const auto found = shell.findExecutable(doc);
    EXPECT_EQ(found.code, platform::kShellOk);
    EXPECT_EQ(found.program, root + "/recorder.sh");

    EXPECT_GE(shell.open(doc, ""), platform::kShellOk);
    EXPECT_EQ(record(), (Lines{root + "/docs", "ARG:" + doc}));  // started in the document's folder
    EXPECT_GE(shell.open(doc, root + "/start"), platform::kShellOk);
    EXPECT_EQ(record(), (Lines{root + "/start", "ARG:" + doc}));

    EXPECT_GE(shell.open(root + "/docs", ""), platform::kShellOk);
    EXPECT_EQ(record(), (Lines{root, "ARG:" + root + "/docs"}));

    EXPECT_GE(shell.openUrl(doc), platform::kShellOk);
    auto viaUrl = record();
    ASSERT_TRUE(viaUrl);
    EXPECT_EQ(viaUrl->back(), "ARG:" + doc);
}

TEST_F(Shell, ProgramsStartWithoutAShellInTheirStartFolder) {
    EXPECT_GE(shell.run(root + "/my tool", "one \"two words\" '$HOME;x' *", root + "/start"), platform::kShellOk);
    EXPECT_EQ(record(), (Lines{root + "/start", "ARG:one", "ARG:two words", "ARG:$HOME;x", "ARG:*"}));

    // A relative program is found from its start folder; without one we stay put.
    EXPECT_GE(shell.run("./recorder.sh", "", root), platform::kShellOk);
    EXPECT_EQ(record(), (Lines{root}));

    // A desktop entry starts its own command, in the start folder.
    write(root + "/entry.desktop", "[Desktop Entry]\nType=Application\nName=E\nExec=" + root + "/recorder.sh from-entry\n");
    EXPECT_GE(shell.open(root + "/entry.desktop", root + "/start"), platform::kShellOk);
    EXPECT_EQ(record(), (Lines{root + "/start", "ARG:from-entry"}));
}

// A shortcut's command line as the started program receives it: quoting
// groups, nothing is expanded or run.
TEST(ShellWords, CommandLinesSplitAsAShellQuotesButNeverExpand) {
    using Words = std::vector<std::string>;
    const struct {
        const char* line;
        std::optional<Words> words;
    } cases[] = {
        {"", Words{}},
        {"   ", Words{}},
        {"a  b\tc", Words{"a", "b", "c"}},
        {"\"two words\" 'single quoted'", Words{"two words", "single quoted"}},
        {"$(touch pwned) `id` $HOME ~ *.txt a;b|c>d", Words{"$(touch", "pwned)", "`id`", "$HOME", "~", "*.txt", "a;b|c>d"}},
        {"'$(touch pwned)'", Words{"$(touch pwned)"}},
        {"it\\'s \"say \\\"hi\\\"\"", Words{"it's", "say \"hi\""}},
        {"back\\ slash", Words{"back slash"}},
        {"''", Words{""}},
        {"x#y #comment", Words{"x#y"}},
        {"'open", std::nullopt},
        {"\"open", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::x11::SplitArguments(c.line), c.words) << c.line;
}

TEST_F(Shell, EachFailureHasItsCodeAndStartsNothing) {
    const std::string doc = root + "/docs/letter.pnote", orphan = root + "/docs/stray.porphan";
    const std::string recorder = root + "/recorder.sh";

    EXPECT_EQ(shell.findExecutable(root + "/docs/gone.pnote").code, platform::kShellMissing);
    EXPECT_EQ(shell.findExecutable(orphan).code, platform::kShellNoAssociation);

    EXPECT_EQ(shell.open(root + "/docs/gone.pnote", ""), platform::kShellMissing);
    EXPECT_EQ(shell.open(doc, root + "/gone"), platform::kShellNoStartFolder);
    EXPECT_EQ(shell.open(doc, root + "/plainfile"), platform::kShellNoStartFolder);

    EXPECT_EQ(shell.run(root + "/docs", "", ""), platform::kShellCannotRun);
    EXPECT_EQ(shell.run(recorder, "", root + "/plainfile"), platform::kShellNoStartFolder);
    EXPECT_EQ(shell.run("", "", ""), platform::kShellMissing);
    EXPECT_EQ(shell.run("   ", "", ""), platform::kShellMissing);
    EXPECT_EQ(shell.run(recorder, "'unbalanced", ""), platform::kShellBadCommandLine);
    write(root + "/broken.desktop", "not an entry\n");
    EXPECT_EQ(shell.open(root + "/broken.desktop", ""), platform::kShellCannotRun);

    EXPECT_EQ(shell.openUrl("pellion-no-such-scheme://page"), platform::kShellNoAssociation);
    EXPECT_EQ(shell.openUrl(root + "/docs/gone.htm"), platform::kShellMissing);
    EXPECT_EQ(shell.openUrl("file://" + root + "/docs/gone.htm"), platform::kShellMissing);

    EXPECT_FALSE(record(300));  // the recorder never ran
}
