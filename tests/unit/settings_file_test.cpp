// The player's settings file: only a regular file (or a link to one) is ever opened, read,
// written or replaced; anything else keeps the defaults and is left as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "io/settings_file.h"
#include "test_folder.h"

namespace vern::test {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public testing::Test {
  protected:
    void SetUp() override {
        dir = TestFolder("vernadora-settings-");
        conf = dir / "vernadora.conf";
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir, conf;
};

TEST_F(SettingsFileTest, ValuesGoOutAndComeBack) {
    {
        SettingsFile f(conf.string());
        EXPECT_TRUE(f.usable());
        EXPECT_TRUE(f.Set("zoom", "1.5"));
        EXPECT_FALSE(f.Set("zoom", "1.5")); // no change, no write due
        f.Set("place", "AAAA\nBB");         // one line only
        EXPECT_FALSE(f.Set("bad key", "x"));
        EXPECT_EQ(f.Write(), 0);
    }
    EXPECT_EQ(Read(conf), "[General]\nplace=AAAABB\nzoom=1.5\n");
    SettingsFile again(conf.string());
    EXPECT_EQ(again.Get("zoom"), "1.5");
    EXPECT_FALSE(again.dirty());
    // Lines of other sections, comments and garbage are passed over.
    EXPECT_EQ(SettingsFile::Parse("zoom=2\n[Other]\nzoom=3\n\xff\xfe=\n;c\nplace = x \n"),
              (std::map<std::string, std::string>{{"zoom", "2"}}));
    EXPECT_EQ(SettingsFile::Parse("[General]\n a = b\n"),
              (std::map<std::string, std::string>{{"a", "b"}}));
    // A value is read as it will be written back: no space left where a control character was.
    const auto read = SettingsFile::Parse("a=b \x01\nc=\x7F d\r\n");
    EXPECT_EQ(read, (std::map<std::string, std::string>{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(SettingsFile::Parse(SettingsFile::Format(read)), read);
}

TEST_F(SettingsFileTest, AnythingButARegularFileIsLeftAloneAndGivesTheDefaults) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&, const fs::path&)> make;
    };
    const Case cases[] = {
        {"a pipe", [](const fs::path& c, const fs::path&) { ::mkfifo(c.c_str(), 0600); }},
        {"a folder", [](const fs::path& c, const fs::path&) { fs::create_directory(c); }},
        {"a link to a device",
         [](const fs::path& c, const fs::path&) { fs::create_symlink("/dev/null", c); }},
        {"a link to a folder",
         [](const fs::path& c, const fs::path& d) {
             fs::create_directory(d / "elsewhere");
             fs::create_symlink(d / "elsewhere", c);
         }},
        {"a link to a pipe",
         [](const fs::path& c, const fs::path& d) {
             ::mkfifo((d / "pipe").c_str(), 0600);
             fs::create_symlink(d / "pipe", c);
         }},
        {"a dangling link",
         [](const fs::path& c, const fs::path& d) { fs::create_symlink(d / "gone", c); }},
        {"a loop of links",
         [](const fs::path& c, const fs::path& d) {
             fs::create_symlink(d / "b", c);
             fs::create_symlink(c, d / "b");
         }},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        c.make(conf, dir);
        const auto before = fs::symlink_status(conf).type();
        SettingsFile f(conf.string());
        EXPECT_FALSE(f.usable()) << c.what;
        EXPECT_FALSE(f.Get("zoom")) << c.what;
        f.Set("zoom", "2");
        EXPECT_EQ(f.Write(), 0) << c.what; // nothing to do: kept for this run only
        EXPECT_EQ(fs::symlink_status(conf).type(), before) << c.what;
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_NE(e.path().extension(), ".tmp") << c.what;
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device is untouched";
}

TEST_F(SettingsFileTest, ALinkToARegularFileIsWrittenThrough) {
    const fs::path kept = dir / "dotfiles" / "vernadora.conf";
    fs::create_directories(kept.parent_path());
    std::ofstream(kept) << "[General]\nzoom=1.25\n";
    fs::create_symlink(kept, conf);
    SettingsFile f(conf.string());
    EXPECT_EQ(f.Get("zoom"), "1.25");
    f.Set("zoom", "2");
    EXPECT_EQ(f.Write(), 0);
    EXPECT_TRUE(fs::is_symlink(conf)) << "the link stays a link";
    EXPECT_EQ(Read(kept), "[General]\nzoom=2\n");
}

TEST_F(SettingsFileTest, WithoutAHomeThereIsNoFile) {
    EXPECT_EQ(SettingsPath(nullptr, nullptr), "");
    EXPECT_EQ(SettingsPath("", ""), "");
    EXPECT_EQ(SettingsPath("relative", "also"), "");
    EXPECT_EQ(SettingsPath(nullptr, "/home/p"), "/home/p/.config/vernadora/vernadora.conf");
    EXPECT_EQ(SettingsPath("/x", "/home/p"), "/x/vernadora/vernadora.conf");
    SettingsFile none("");
    EXPECT_FALSE(none.usable());
    none.Set("zoom", "2");
    EXPECT_EQ(none.Write(), 0);
    EXPECT_EQ(none.Get("zoom"), "2"); // kept for this run
}

TEST_F(SettingsFileTest, AHugeOrForeignFileGivesTheDefaultsAndIsReplacedByAGoodOne) {
    std::ofstream(conf, std::ios::binary) << std::string(SettingsFile::kMaxBytes + 10, 'z');
    SettingsFile f(conf.string());
    EXPECT_TRUE(f.usable());
    EXPECT_TRUE(f.values().empty());
    f.Set("zoom", "1.5");
    EXPECT_EQ(f.Write(), 0);
    EXPECT_EQ(Read(conf), "[General]\nzoom=1.5\n");
}

} // namespace
} // namespace vern::test
