// SPDX-License-Identifier: MIT
#include "ProfileFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tracely-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Written by hand, CRLF, with the odd spacing and values the program meets.
const std::string kSettings = "; Tracely\r\n"
                              "[Form1]\r\n"
                              "Top=0x1F4\r\n"
                              "Left = $64 \r\n"
                              "[Option]\r\n"
                              "UnitWheel=abc\r\n"
                              "FileDialog=\"  GDW(*.gdw)|*.gdw  \"\r\n"
                              "Japanese=データ(*.dat)\r\n"
                              "Legacy=\x83\x66\x81\x5B\x83\x5E\r\n"
                              "Com=\"\"C:\\Prog\\app.exe\" \"%1\"\"\r\n"
                              "Single='quoted'\r\n"
                              "Mismatch=\"abc'\r\n"
                              "Lone=\"\r\n"
                              "Empty=\r\n"
                              "[State]\r\n"
                              "TopMost=2\r\n"
                              "DispName=yes\r\n"
                              "Cursor=\"1\"\r\n"
                              "Ys=7\r\n"
                              "Neg=-5\r\n";

class ProfileFileTest : public testing::Test {
protected:
    ScratchDir dir;
    std::string path = dir / "Tracely.ini";
};

struct StringCase {
    const char* section;
    const char* key;
    const char* expected;
};

class ProfileReadString : public ProfileFileTest, public testing::WithParamInterface<StringCase> { };

TEST_P(ProfileReadString, StripsOneMatchingQuotePairAndDecodes)
{
    WriteFileBytes(path, kSettings);
    const ProfileFile ini(path);
    EXPECT_EQ(ini.ReadString(GetParam().section, GetParam().key, "<default>"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileReadString,
                         testing::Values(StringCase{"Option", "FileDialog", "  GDW(*.gdw)|*.gdw  "},
                                         StringCase{"option", "filedialog", "  GDW(*.gdw)|*.gdw  "},
                                         StringCase{"Option", "Japanese", "データ(*.dat)"},
                                         StringCase{"Option", "Legacy", "データ"},   // CP932 bytes come back as UTF-8
                                         StringCase{"Option", "Com", "\"C:\\Prog\\app.exe\" \"%1\""},
                                         StringCase{"Option", "Single", "quoted"},
                                         StringCase{"Option", "Mismatch", "\"abc'"}, StringCase{"Option", "Lone", "\""},
                                         StringCase{"Option", "Empty", ""}, StringCase{"Form1", "Left", "$64"},
                                         StringCase{"Option", "Missing", "<default>"},
                                         StringCase{"Nowhere", "Top", "<default>"}));

struct IntegerCase {
    const char* section;
    const char* key;
    int def;
    int expected;
};

class ProfileReadInteger : public ProfileFileTest, public testing::WithParamInterface<IntegerCase> { };

TEST_P(ProfileReadInteger, ConvertsOrGivesTheDefault)
{
    WriteFileBytes(path, kSettings);
    const ProfileFile ini(path);
    EXPECT_EQ(ini.ReadInteger(GetParam().section, GetParam().key, GetParam().def), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileReadInteger,
                         testing::Values(IntegerCase{"Option", "UnitWheel", 2, 2},
                                         IntegerCase{"Form1", "Top", 100, 500}, IntegerCase{"Form1", "Left", 7, 100},
                                         IntegerCase{"State", "Ys", 0, 7}, IntegerCase{"State", "Neg", 0, -5},
                                         IntegerCase{"State", "Cursor", 0, 1}, IntegerCase{"Option", "Empty", 9, 9},
                                         IntegerCase{"Option", "Single", 9, 9}, IntegerCase{"Color", "00", 255, 255}));

TEST_F(ProfileFileTest, ReadBoolIsIntegerNotZero)
{
    WriteFileBytes(path, kSettings);
    const ProfileFile ini(path);
    EXPECT_TRUE(ini.ReadBool("State", "TopMost", false));
    EXPECT_TRUE(ini.ReadBool("State", "DispName", true));
    EXPECT_FALSE(ini.ReadBool("State", "DispName", false));
    EXPECT_TRUE(ini.ReadBool("State", "Missing", true));
}

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndIsNotCreatedByReadsOrDeletes)
{
    ProfileFile ini(path);
    EXPECT_EQ(ini.ReadString("Option", "FileDialog", "filter"), "filter");
    EXPECT_EQ(ini.ReadInteger("Form1", "Top", 100), 100);
    EXPECT_TRUE(ini.ReadSectionKeys("Assoc_DB").empty());
    EXPECT_FALSE(ini.DeleteKey("Assoc_DB", ".dat"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ProfileFileTest, ReadStringStopsAt2047CharactersWithoutSplittingOne)
{
    const std::string longAscii(3000, 'a');
    std::string longJapanese;
    for (int i = 0; i < 3000; ++i)
        longJapanese += "あ";
    WriteFileBytes(path, "[S]\na=\"" + longAscii + "\"\nj=" + longJapanese + "\n");
    const ProfileFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "a", ""), std::string(2047, 'a'));
    EXPECT_EQ(ini.ReadString("S", "j", ""), longJapanese.substr(0, 2047 * 3));
}

TEST_F(ProfileFileTest, NewFileLayoutFollowsTheWriteOrder)
{
    ProfileFile ini(path);
    ini.WriteInteger("Form1", "Top", 120);
    ini.WriteInteger("Form1", "Left", -8);
    ini.WriteInteger("Option", "UnitWheel", 2);
    ini.WriteString("Option", "FileDialog", "\"GDW(*.gdw)|*.gdw\"");
    ini.WriteBool("State", "TopMost", true);
    ini.WriteBool("State", "DispName", false);
    ini.WriteInteger("Color", "01", 0x02FF0000);
    EXPECT_EQ(ReadFileBytes(path),
              "[Form1]\nTop=120\nLeft=-8\n[Option]\nUnitWheel=2\nFileDialog=\"GDW(*.gdw)|*.gdw\"\n"
              "[State]\nTopMost=1\nDispName=0\n[Color]\n01=50266112\n");
    EXPECT_EQ(ini.ReadString("Option", "FileDialog", ""), "GDW(*.gdw)|*.gdw");
}

TEST_F(ProfileFileTest, WritingAHandWrittenCrlfFileTouchesOnlyItsLines)
{
    WriteFileBytes(path, kSettings);
    ProfileFile ini(path);
    ini.WriteInteger("form1", "TOP", 10);
    ini.WriteBool("State", "Cursor", false);
    ini.WriteString("State", "A0col", "0");
    ini.WriteInteger("Color", "00", 255);

    std::string expected = kSettings;
    expected.replace(expected.find("Top=0x1F4"), 9, "Top=10");
    expected.replace(expected.find("Cursor=\"1\""), 10, "Cursor=0");
    expected += "A0col=0\r\n[Color]\r\n00=255\r\n";
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST_F(ProfileFileTest, SavingTwiceLeavesOneEntryPerKey)
{
    ProfileFile ini(path);
    auto save = [&] {
        ini.WriteInteger("State", "Ys", 2);
        for (int axis = 0; axis < 4; ++axis) {
            ini.WriteBool("State", "A" + std::to_string(axis) + "auto", true);
            ini.WriteString("Value", "A" + std::to_string(axis) + "upper", "+1.0e+00");
        }
    };
    save();
    const std::string once = ReadFileBytes(path);
    save();
    EXPECT_EQ(ReadFileBytes(path), once);
}

TEST_F(ProfileFileTest, KeyListingAndDeletion)
{
    WriteFileBytes(path, "[Assoc_DB]\r\n.datCom=a\r\n.datIcon=b\r\n.gdwCom=c\r\n[Other]\r\nx=1\r\n");
    ProfileFile ini(path);
    EXPECT_EQ(ini.ReadSectionKeys("ASSOC_DB"), (std::vector<std::string>{".datCom", ".datIcon", ".gdwCom"}));
    EXPECT_TRUE(ini.DeleteKey("Assoc_DB", ".datIcon"));
    EXPECT_FALSE(ini.DeleteKey("Assoc_DB", ".datIcon"));
    EXPECT_EQ(ReadFileBytes(path), "[Assoc_DB]\r\n.datCom=a\r\n.gdwCom=c\r\n[Other]\r\nx=1\r\n");
}

// Running as root, permissions do not stop a write; these targets fail by their shape.
TEST_F(ProfileFileTest, UnwritableTargetThrowsAndChangesNothing)
{
    const std::string blocker = dir / "plainfile";
    WriteFileBytes(blocker, "not a directory");
    ProfileFile underFile(blocker + "/Tracely.ini");
    try {
        underFile.WriteString("Option", "UnitWheel", "3");
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), blocker + "/Tracely.ini に書き込めません");
    }
    EXPECT_EQ(ReadFileBytes(blocker), "not a directory");

    const std::string directory = dir / "isadir.ini";
    std::filesystem::create_directory(directory);
    ProfileFile onDirectory(directory);
    EXPECT_THROW(onDirectory.WriteInteger("Form1", "Top", 1), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(onDirectory.ReadInteger("Form1", "Top", 42), 42);
}

TEST_F(ProfileFileTest, FifoUnderTheSettingsNameNeitherHangsNorIsReplaced)
{
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ProfileFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Form1", "Top", 100), 100);
    EXPECT_THROW(ini.WriteInteger("Form1", "Top", 1), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}

TEST_F(ProfileFileTest, BadNamesAndValuesAreRefusedBeforeWriting)
{
    WriteFileBytes(path, kSettings);
    ProfileFile ini(path);
    EXPECT_THROW(ini.WriteString("Option", "FileDialog", "a\r\n[Form1]\r\nTop=1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("Option", "Key=Injected", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("Opt]ion", "Key", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("", "Key", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("Option", std::string("a\0b", 3), "1"), EIniFileException);
    {
        ProfileFile::Batch batch(ini);
        EXPECT_THROW(ini.WriteString("Option", "FileDialog", "a\nb"), EIniFileException);
        batch.Commit();
    }
    EXPECT_EQ(ReadFileBytes(path), kSettings);
}

TEST_F(ProfileFileTest, OverlongPathReadsAsMissingAndRefusesWrites)
{
    const std::string longPath = dir.Path() + "/" + std::string(kMaxProfilePathLength, 'd') + "/Tracely.ini";
    ProfileFile ini(longPath);
    EXPECT_EQ(ini.ReadInteger("Form1", "Top", 100), 100);
    EXPECT_THROW(ini.WriteInteger("Form1", "Top", 1), EIniFileException);
}

// A name that is no valid UTF-8 is still the user's file: it is written
// under its own bytes, not under some decoded look-alike.
TEST_F(ProfileFileTest, NonUtf8PathIsWrittenUnderItsOwnName)
{
    const std::string latin1Dir = dir / "caf\xe9";
    std::filesystem::create_directory(latin1Dir);
    WriteFileBytes(latin1Dir + "/_Tracely.ini", "[State]\nYs=2\n");
    ProfileFile ini(latin1Dir + "/_Tracely.ini");
    EXPECT_EQ(ini.ReadInteger("State", "Ys", 0), 2);
    ini.WriteInteger("State", "Ys", 1);
    EXPECT_EQ(ReadFileBytes(latin1Dir + "/_Tracely.ini"), "[State]\nYs=1\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileFileTest, FailureBeforeTheRenameKeepsTheOldFile)
{
    WriteFileBytes(path, kSettings);
    ProfileFile ini(path);
    ProfileFile::SetBeforeReplaceHook([] { throw std::runtime_error("interrupted"); });
    EXPECT_THROW(ini.WriteInteger("Form1", "Top", 1), std::runtime_error);
    ProfileFile::SetBeforeReplaceHook(nullptr);
    EXPECT_EQ(ReadFileBytes(path), kSettings);
}

TEST_F(ProfileFileTest, ProcessKilledBeforeTheRenameLeavesTheOldFileAndNoDebris)
{
    WriteFileBytes(path, kSettings);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ProfileFile::SetBeforeReplaceHook([] { ::raise(SIGKILL); });
        try {
            ProfileFile ini(path);
            ProfileFile::Batch batch(ini);
            for (int i = 0; i < 2000; ++i)
                ini.WriteInteger("Big", "K" + std::to_string(i), i);
            batch.Commit();
        } catch (...) {
        }
        ::_exit(3);   // only reached when the hook did not run
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exit status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(ReadFileBytes(path), kSettings);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileFileTest, BatchWritesNothingUntilCommitAndDiscardsWithoutIt)
{
    WriteFileBytes(path, kSettings);
    ProfileFile ini(path);
    {
        ProfileFile::Batch batch(ini);
        ini.WriteInteger("Form1", "Top", 1);
        EXPECT_EQ(ini.ReadInteger("Form1", "Top", 0), 1);
        EXPECT_EQ(ReadFileBytes(path), kSettings);
        EXPECT_THROW(ProfileFile::Batch nested(ini), std::logic_error);
    }
    EXPECT_EQ(ReadFileBytes(path), kSettings);
    EXPECT_EQ(ini.ReadInteger("Form1", "Top", 0), 500);
    {
        ProfileFile::Batch batch(ini);
        ini.WriteInteger("Form1", "Top", 2);
        batch.Commit();
    }
    EXPECT_EQ(ini.ReadInteger("Form1", "Top", 0), 2);
}

TEST_F(ProfileFileTest, BatchCommitToUnwritableTargetThrowsAndChangesNothing)
{
    const std::string directory = dir / "isadir.ini";
    std::filesystem::create_directory(directory);
    ProfileFile ini(directory);
    ProfileFile::Batch batch(ini);
    ini.WriteInteger("Form1", "Top", 1);
    EXPECT_THROW(batch.Commit(), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
}

// A writable settings file in a directory the user may not create files in
// (a shared data directory, or the executable's directory with a prepared
// Tracely.ini) must still take new values. The write runs in a child without
// root's privileges, which would otherwise ignore the directory's mode.
TEST_F(ProfileFileTest, WritableFileInReadOnlyDirectoryIsWrittenInPlace)
{
    WriteFileBytes(path, kSettings);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const std::string readOnly = dir / "_Tracely.ini";
    WriteFileBytes(readOnly, "[State]\nYs=1\n");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        try {
            ProfileFile ini(path);
            ini.WriteInteger("Form1", "Top", 7);
            ini.WriteString("New", "Key", "v");
        } catch (const EIniFileException&) {
            ::_exit(1);
        }
        try {
            ProfileFile locked(readOnly);
            locked.WriteInteger("State", "Ys", 2);
            ::_exit(3);
        } catch (const EIniFileException&) {
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir.Path().c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "could not drop privileges";
    EXPECT_EQ(WEXITSTATUS(status), 0) << (WEXITSTATUS(status) == 3 ? "a read-only file was written"
                                                                   : "the write was refused");
    EXPECT_EQ(ReadFileBytes(readOnly), "[State]\nYs=1\n");
    const ProfileFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Form1", "Top", 0), 7);
    EXPECT_EQ(ini.ReadString("New", "Key", ""), "v");
    EXPECT_EQ(ini.ReadString("Option", "FileDialog", ""), "  GDW(*.gdw)|*.gdw  ");
}

// The same random sequence of writes and deletions, once call by call and
// once in a batch, must leave the same bytes.
class ProfileBatchEquivalence : public ProfileFileTest, public testing::WithParamInterface<unsigned> { };

TEST_P(ProfileBatchEquivalence, SameBytesAsSingleCalls)
{
    const std::string single = dir / "single.ini";
    const std::string batched = dir / "batched.ini";
    const std::string start = GetParam() % 2 ? kSettings : std::string();
    if (!start.empty()) {
        WriteFileBytes(single, start);
        WriteFileBytes(batched, start);
    }
    const char* const sections[] = {"Form1", "option", "State", "Value", "Color", "Assoc_DB"};
    const char* const keys[] = {"Top", "unitwheel", "TopMost", "A0upper", "00", ".datCom", "Ys"};
    std::mt19937 random(GetParam());
    ProfileFile singleFile(single);
    ProfileFile batchFile(batched);
    ProfileFile::Batch batch(batchFile);
    for (int step = 0; step < 80; ++step) {
        const std::string section = sections[random() % std::size(sections)];
        const std::string key = keys[random() % std::size(keys)];
        const int value = static_cast<int>(random() % 2001) - 1000;
        const unsigned operation = random() % 4;
        for (ProfileFile* file : {&singleFile, &batchFile}) {
            switch (operation) {
            case 0: file->WriteInteger(section, key, value); break;
            case 1: file->WriteBool(section, key, value > 0); break;
            case 2: file->WriteString(section, key, " \"text " + std::to_string(value) + "\" "); break;
            default: file->DeleteKey(section, key); break;
            }
        }
    }
    batch.Commit();
    EXPECT_EQ(ReadFileBytes(batched), ReadFileBytes(single));
}

INSTANTIATE_TEST_SUITE_P(Seeds, ProfileBatchEquivalence, testing::Range(1u, 7u));

// --- Links under the name, sizes, and in-place writes ---

// Every entry of a directory: a link's target, a file's bytes, else its kind.
std::map<std::string, std::string> Contents(const std::string& directory)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        std::string& value = contents[entry.path().filename().string()];
        if (entry.is_symlink())
            value = "-> " + std::filesystem::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            value = ReadFileBytes(entry.path().string());
        else
            value = "kind " + std::to_string(static_cast<int>(entry.status().type()));
    }
    return contents;
}

struct LinkCase {
    const char* name;
    const char* target;   // of the link under the name, from data/; nullptr: a plain file
    bool foreign;         // the link belongs to another user
    ProfileFile::Links rule;
    ProfileFile::Found found;
    const char* written;   // the file a write changes; nullptr: the write is refused
};

class ProfileLinks : public ProfileFileTest, public testing::WithParamInterface<LinkCase> { };

// A shared data directory's settings name, and the user's own files in home/.
TEST_P(ProfileLinks, OnlyLinksTheRuleAllowsAreReadAndWritten)
{
    const LinkCase& c = GetParam();
    if (c.foreign && ::geteuid() != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    std::filesystem::create_directories(dir / "data");
    std::filesystem::create_directories(dir / "home/sub");
    WriteFileBytes(dir / "home/victim", "[State]\nYs=9\n");
    ASSERT_EQ(::mkfifo((dir / "home/fifo").c_str(), 0600), 0);
    const std::string name = dir / "data/_Tracely.ini";
    if (c.target) {
        ASSERT_EQ(::symlink(c.target, name.c_str()), 0);
    } else {
        WriteFileBytes(name, "[State]\nYs=9\n");
    }
    if (c.foreign) {
        ASSERT_EQ(::lchown(name.c_str(), 65534, 65534), 0);
    }
    std::map<std::string, std::string> expected = Contents(dir / "data");
    std::map<std::string, std::string> expectedHome = Contents(dir / "home");

    ProfileFile ini(name, c.rule);
    EXPECT_EQ(ini.Examine(), c.found);
    EXPECT_EQ(ini.ReadInteger("State", "Ys", 0), c.found == ProfileFile::Found::Readable ? 9 : 0);
    if (c.written) {
        ini.WriteInteger("State", "Ys", 2);
        const std::string written = c.written;
        (written.starts_with("home/") ? expectedHome : expected)[written.substr(5)] = "[State]\nYs=2\n";
    } else {
        EXPECT_THROW(ini.WriteInteger("State", "Ys", 2), EIniFileException);
    }
    EXPECT_EQ(Contents(dir / "data"), expected);
    EXPECT_EQ(Contents(dir / "home"), expectedHome);
}

using Found = ProfileFile::Found;
constexpr auto kOwnOnly = ProfileFile::Links::OwnOnly;

INSTANTIATE_TEST_SUITE_P(
    Names, ProfileLinks,
    testing::Values(LinkCase{"File", nullptr, false, kOwnOnly, Found::Readable, "data/_Tracely.ini"},
                    LinkCase{"OwnLink", "../home/victim", false, kOwnOnly, Found::Readable, "home/victim"},
                    LinkCase{"ForeignLink", "../home/victim", true, kOwnOnly, Found::Refused, nullptr},
                    // The user's own link to a file yet to come: the save makes it.
                    LinkCase{"OwnDanglingLink", "../home/new", false, kOwnOnly, Found::Missing, "home/new"},
                    LinkCase{"ForeignDanglingLink", "../home/new", true, kOwnOnly, Found::Refused, nullptr},
                    LinkCase{"LinkToDirectory", "../home/sub", false, kOwnOnly, Found::Refused, nullptr},
                    LinkCase{"LinkToFifo", "../home/fifo", false, kOwnOnly, Found::Refused, nullptr},
                    LinkCase{"ForeignLinkUnderTheFollowRule", "../home/victim", true, ProfileFile::Links::Follow,
                             Found::Readable, "home/victim"}),
    [](const testing::TestParamInfo<LinkCase>& testInfo) { return std::string(testInfo.param.name); });

// The name flips between the user's own link and a planted one as fast as the
// system allows while the file is read and written: the planted link must
// never be followed, whatever moment it is seen at.
TEST_F(ProfileFileTest, LinkSwappedWhileInUseIsNeverFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    WriteFileBytes(dir / "mine", "[State]\nYs=1\n");
    WriteFileBytes(dir / "victim", "[State]\nYs=9\n");
    const std::string planted = dir / "planted";
    ASSERT_EQ(::symlink("mine", path.c_str()), 0);
    ASSERT_EQ(::symlink("victim", planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        while (!stop)
            ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, planted.c_str(), RENAME_EXCHANGE);
    });
    ProfileFile ini(path, ProfileFile::Links::OwnOnly);
    int victimReads = 0;
    for (int i = 0; i < 3000; ++i) {
        victimReads += ini.ReadInteger("State", "Ys", 0) == 9;
        try {
            if (i % 30 == 0)
                ini.WriteInteger("State", "Ys", 1);
        } catch (const EIniFileException&) {
        }
    }
    stop = true;
    swapper.join();
    EXPECT_EQ(victimReads, 0);
    EXPECT_EQ(ReadFileBytes(dir / "victim"), "[State]\nYs=9\n");
}

struct SizeCase {
    const char* name;
    off_t size;
    Found found;
};

class ProfileSizes : public ProfileFileTest, public testing::WithParamInterface<SizeCase> { };

TEST_P(ProfileSizes, FileOverTheBoundIsNeitherReadNorWritten)
{
    WriteFileBytes(path, "[State]\nYs=3\n;");
    ASSERT_EQ(::truncate(path.c_str(), GetParam().size), 0);
    struct stat before { };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ProfileFile ini(path);
    EXPECT_EQ(ini.Examine(), GetParam().found);
    if (GetParam().found == Found::Readable) {
        EXPECT_EQ(ini.ReadInteger("State", "Ys", 0), 3);
        ini.WriteInteger("State", "Ys", 4);
        EXPECT_THROW(ini.WriteInteger("State", "Ys", 40), EIniFileException);   // one byte too many
        EXPECT_EQ(ini.ReadInteger("State", "Ys", 0), 4);
        return;
    }
    EXPECT_EQ(ini.ReadInteger("State", "Ys", 0), 0);
    EXPECT_THROW(ini.WriteInteger("State", "Ys", 4), EIniFileException);
    EXPECT_FALSE(ini.DeleteKey("State", "Ys"));
    {
        ProfileFile::Batch batch(ini);
        EXPECT_EQ(batch.State(), Found::Oversized);
        ini.WriteInteger("State", "Ys", 4);
        EXPECT_THROW(batch.Commit(), EIniFileException);
    }
    struct stat after { };
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProfileSizes,
                         testing::Values(SizeCase{"AtTheBound", off_t{1} << 20, Found::Readable},
                                         SizeCase{"OneByteOver", (off_t{1} << 20) + 1, Found::Oversized},
                                         SizeCase{"SparseGigabyte", off_t{1} << 30, Found::Oversized}),
                         [](const testing::TestParamInfo<SizeCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

// Written in place (the directory takes no new files), a content longer than
// the file size limit allows must be refused before an old byte changes, and
// a shorter one must still go in. The child drops root's privileges, which
// would ignore the directory's mode.
TEST_F(ProfileFileTest, InPlaceWriteBeyondTheFileSizeLimitLeavesTheFileAsItWas)
{
    const std::string before = "; " + std::string(3000, 'c') + "\n[State]\nYs=1\nA1lower=-5\n";
    WriteFileBytes(path, before);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 64, before.size() + 64};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(2);
        ProfileFile ini(path, ProfileFile::Links::OwnOnly);
        try {
            ini.WriteString("Value", "A1upper", std::string(200, '9'));
            ::_exit(3);
        } catch (const EIniFileException&) {
        }
        if (ReadFileBytes(path) != before)
            ::_exit(4);
        ::_exit(ini.DeleteKey("State", "A1lower") ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir.Path().c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "2: no set-up, 3: written past the limit, 4: file changed, 5: no shorter write";
    EXPECT_EQ(ReadFileBytes(path), before.substr(0, before.find("A1lower")));
}

}   // namespace
