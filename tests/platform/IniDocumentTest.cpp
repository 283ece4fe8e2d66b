// SPDX-License-Identifier: MIT
#include "IniDocument.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// A file as a user or the Windows program might have left it.
const char* const kHandWritten = "; settings\r\n"
                                 "[Option]\r\n"
                                 "UnitWheel=0x10\r\n"
                                 "  Padded =  spaced value  \r\n"
                                 "Semi=x;y\r\n"
                                 "  ; Hidden=1\r\n"
                                 "Filter2=a,b\r\n"
                                 "unitwheel=99\r\n"
                                 "NoEquals\r\n"
                                 "=nameless\r\n"
                                 "[ Spaced Section ]\r\n"
                                 "k=v\r\n"
                                 "[Closing]] junk\r\n"
                                 "after=bracket\r\n"
                                 "[option]\r\n"
                                 "Later=hidden by the first [Option]\r\n"
                                 "[Empty]\r\n"
                                 "\r\n";

struct FindCase {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniDocumentFind : public testing::TestWithParam<FindCase> { };

TEST_P(IniDocumentFind, ReadsLikeTheWindowsProfileFunctions)
{
    const IniDocument ini(kHandWritten);
    const FindCase& c = GetParam();
    const auto found = ini.Find(c.section, c.key);
    ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.section << "/" << c.key;
    if (found) {
        EXPECT_EQ(*found, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, IniDocumentFind,
                         testing::Values(FindCase{"Option", "UnitWheel", "0x10"},
                                         FindCase{"OPTION", "UNITWHEEL", "0x10"},   // case-blind, first duplicate wins
                                         FindCase{"Option", "Padded", "spaced value"},   // blanks around key and value
                                         FindCase{"Option", "Semi", "x;y"},              // ';' inside a value is text
                                         FindCase{"Option", "Hidden", std::nullopt},   // indented ';' line is a comment
                                         FindCase{"Option", "Filter2", "a,b"},
                                         FindCase{"Option", "NoEquals", std::nullopt},
                                         FindCase{"Option", "", std::nullopt},
                                         FindCase{"Option", "Later", std::nullopt},   // duplicate section is ignored
                                         FindCase{"Spaced Section", "k", "v"},
                                         FindCase{"Closing", "after", "bracket"},   // name stops at the first ']'
                                         FindCase{"Empty", "x", std::nullopt}, FindCase{"Missing", "k", std::nullopt},
                                         FindCase{"", "k", std::nullopt}));

TEST(IniDocument, BytesRoundTripUnchanged)
{
    const std::string mixed = std::string(kHandWritten) + "[Tail]\nlf=1\r\nno end";
    EXPECT_EQ(IniDocument(mixed).Bytes(), mixed);
    EXPECT_EQ(IniDocument("").Bytes(), "");
}

TEST(IniDocument, SkipsByteOrderMarkOnFirstLineOnly)
{
    const IniDocument ini("\xEF\xBB\xBF[A]\nk=1\n\xEF\xBB\xBF[B]\nk=2\n");
    EXPECT_EQ(ini.Find("A", "k"), "1");
    EXPECT_FALSE(ini.Find("B", "k").has_value());
}

TEST(IniDocument, KeysBeforeAnySectionBelongToNone)
{
    const IniDocument ini("k=0\n[A]\nk=1\n");
    EXPECT_EQ(ini.Find("A", "k"), "1");
}

struct SetCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class IniDocumentSet : public testing::TestWithParam<SetCase> { };

TEST_P(IniDocumentSet, PlacesTheLineAndKeepsEveryOtherByte)
{
    const SetCase& c = GetParam();
    IniDocument ini(c.before);
    ASSERT_TRUE(ini.Set(c.section, c.key, c.value));
    EXPECT_EQ(ini.Bytes(), c.after);
    EXPECT_EQ(ini.Find(c.section, c.key), TrimProfileBlanks(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, IniDocumentSet,
    testing::Values(
        SetCase{"NewFile", "", "Form1", "Top", "100", "[Form1]\nTop=100\n"},
        SetCase{"InPlaceKeepsSpellingAndSpacing", "[A]\n  TOP = 1\nx=2\n", "a", "top", "5", "[A]\n  TOP =5\nx=2\n"},
        SetCase{"InPlaceFirstOfDuplicates", "[A]\nk=1\nk=2\n", "A", "k", "3", "[A]\nk=3\nk=2\n"},
        SetCase{"AppendAfterLastKeyBeforeBlankAndComment", "[A]\nk=1\n\n; c\n[B]\n", "A", "n", "2",
                "[A]\nk=1\nn=2\n\n; c\n[B]\n"},
        SetCase{"SectionWithoutKeys", "[A]\n\n[B]\nx=1\n", "A", "n", "2", "[A]\nn=2\n\n[B]\nx=1\n"},
        SetCase{"NewSectionAtEnd", "[A]\nk=1\n", "B", "n", "2", "[A]\nk=1\n[B]\nn=2\n"},
        SetCase{"CrlfFileStaysCrlf", "[A]\r\nk=1\r\n", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n"},
        SetCase{"CrlfNewSection", "[A]\r\nk=1\r\n", "B", "n", "2", "[A]\r\nk=1\r\n[B]\r\nn=2\r\n"},
        SetCase{"LastLineWithoutEnd", "[A]\r\nk=1", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n"},
        SetCase{"LastLineWithoutEndNewSection", "[A]\nk=1", "B", "n", "2", "[A]\nk=1\n[B]\nn=2\n"},
        SetCase{"InPlaceOnLastLineKeepsMissingEnd", "[A]\nk=1", "A", "k", "2", "[A]\nk=2"},
        SetCase{"WritesFirstOfDuplicateSections", "[A]\nk=1\n[a]\nn=0\n", "A", "n", "2", "[A]\nk=1\nn=2\n[a]\nn=0\n"},
        SetCase{"ValueUnchangedWithQuotesAndBlanks", "", "Option", "FileDialog", "\" a|*.gdw \"",
                "[Option]\nFileDialog=\" a|*.gdw \"\n"},
        SetCase{"NamesAreTrimmed", "", " S ", " k ", "v", "[S]\nk=v\n"},
        SetCase{"NonUtf8BytesKept", "[A]\nj=\x83\x66\n", "A", "k", "1", "[A]\nj=\x83\x66\nk=1\n"}),
    [](const testing::TestParamInfo<SetCase>& testInfo) { return std::string(testInfo.param.name); });

TEST(IniDocument, RejectsNamesAndValuesThatWouldBreakTheFile)
{
    const std::string before = "[A]\nk=1\n";
    IniDocument ini(before);
    const std::string nul("a\0b", 3);
    EXPECT_FALSE(ini.Set("A", "k", "1\n[Injected]\nx=1"));
    EXPECT_FALSE(ini.Set("A", "k", "1\r"));
    EXPECT_FALSE(ini.Set("A", "k", nul));
    EXPECT_FALSE(ini.Set("A", "a=b", "1"));
    EXPECT_FALSE(ini.Set("A", "[x", "1"));
    EXPECT_FALSE(ini.Set("A", " ;x", "1"));
    EXPECT_FALSE(ini.Set("A", "  ", "1"));
    EXPECT_FALSE(ini.Set("A", nul, "1"));
    EXPECT_FALSE(ini.Set("A]B", "k", "1"));
    EXPECT_FALSE(ini.Set("", "k", "1"));
    EXPECT_FALSE(ini.Set("A\nB", "k", "1"));
    EXPECT_EQ(ini.Bytes(), before);
}

TEST(IniDocument, SectionKeysInFileOrderOncePerName)
{
    const IniDocument ini("[Assoc_DB]\n.dat=a\n; c\n.GDW=b\n.DAT=c\n=x\nnoequals\n.txt=d\n[Next]\ny=1\n");
    EXPECT_EQ(ini.SectionKeys("assoc_db"), (std::vector<std::string>{".dat", ".GDW", ".txt"}));
    EXPECT_TRUE(ini.SectionKeys("Missing").empty());
}

TEST(IniDocument, RemoveDropsEveryLineOfTheKeyInItsSection)
{
    IniDocument ini("[A]\nk=1\nx=2\nK=3\n[B]\nk=4\n");
    EXPECT_TRUE(ini.Remove("a", "k"));
    EXPECT_EQ(ini.Bytes(), "[A]\nx=2\n[B]\nk=4\n");
    EXPECT_FALSE(ini.Find("A", "k").has_value());
    EXPECT_FALSE(ini.Remove("A", "k"));
    EXPECT_FALSE(ini.Remove("C", "k"));
    EXPECT_EQ(ini.Bytes(), "[A]\nx=2\n[B]\nk=4\n");
}

struct IntegerCase {
    const char* text;
    std::optional<int> expected;
};

class ProfileInteger : public testing::TestWithParam<IntegerCase> { };

TEST_P(ProfileInteger, ConvertsOrFallsBack)
{
    EXPECT_EQ(ParseProfileInteger(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ProfileInteger,
    testing::Values(IntegerCase{"2", 2}, IntegerCase{"-5", -5}, IntegerCase{"+7", 7}, IntegerCase{"0x1F4", 500},
                    IntegerCase{"0X1f4", 500}, IntegerCase{"$1F4", 500}, IntegerCase{"0x", std::nullopt},
                    IntegerCase{"$", std::nullopt}, IntegerCase{"abc", std::nullopt}, IntegerCase{"yes", std::nullopt},
                    IntegerCase{"", std::nullopt}, IntegerCase{"12abc", std::nullopt}, IntegerCase{"1 2", std::nullopt},
                    IntegerCase{"-", std::nullopt}, IntegerCase{"0x1G", std::nullopt},
                    IntegerCase{"2147483647", 2147483647}, IntegerCase{"-2147483648", INT32_MIN},
                    IntegerCase{"2147483648", std::nullopt}, IntegerCase{"-2147483649", std::nullopt},
                    IntegerCase{"99999999999999999999", std::nullopt}, IntegerCase{"$FFFFFFFF", -1},
                    IntegerCase{"0x80000005", static_cast<int>(0x80000005u)}, IntegerCase{"0x000000001", 1},
                    IntegerCase{"0x100000000", std::nullopt}, IntegerCase{"-0x10", std::nullopt}));

}   // namespace
