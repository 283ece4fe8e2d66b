// SPDX-License-Identifier: MIT
// The manual is shown in the program's own rich-text viewer, opened at its
// "contents" anchor. A link whose target is missing does nothing when
// clicked, a tag the viewer does not know is silently dropped, and a control
// the manual never mentions leaves the user guessing.
#include "HtmlScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadManual()
{
    std::ifstream in(TRACELY_MANUAL_PATH, std::ios::binary);
    EXPECT_TRUE(in) << "cannot open " << TRACELY_MANUAL_PATH;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string& Manual()
{
    static const std::string text = ReadManual();
    return text;
}

}   // namespace

TEST(HtmlScan, FindsLinksWithoutAnchors)
{
    const std::string html = R"(<p><a href="#here">a</a> <a href='#gone'>b</a> <a href="#gone">c</a>)"
                             R"(<h2 id="here">x</h2><a href="other.html#gone">d</a></p>)";
    EXPECT_EQ(html_scan::UnresolvedLinks(html), (std::set<std::string>{"gone"}));
}

TEST(HtmlScan, AcceptsIdOnAnyTagAndNameOnlyOnLinks)
{
    const std::string html = R"(<td ID="cell"></td><a name="named"></a><meta name="viewport">)"
                             R"(<a href="#cell"></a><a href="#named"></a><a href="#viewport"></a>)";
    EXPECT_EQ(html_scan::UnresolvedLinks(html), (std::set<std::string>{"viewport"}));
}

TEST(HtmlScan, IgnoresCommentedOutMarkup)
{
    const std::string html = R"(<!-- <h2 id="old"></h2> --><a href="#old"></a><!-- <a href="#x"> -->)";
    EXPECT_EQ(html_scan::UnresolvedLinks(html), (std::set<std::string>{"old"}));
    EXPECT_EQ(html_scan::TagNames(html), (std::vector<std::string>{"a", "a"}));
}

TEST(Manual, EveryInPageLinkResolves)
{
    ASSERT_FALSE(html_scan::InPageLinks(Manual()).empty());
    for (const std::string& target : html_scan::UnresolvedLinks(Manual()))
        ADD_FAILURE() << "href=\"#" << target << "\" has no matching id or name";
}

TEST(Manual, AnchorsAreUnique)
{
    std::map<std::string, int> seen;
    for (const std::string& anchor : html_scan::Anchors(Manual()))
        if (++seen[anchor] == 2)
            ADD_FAILURE() << "anchor \"" << anchor << "\" is defined more than once";
}

TEST(Manual, HasTitleAndContentsAnchor)
{
    const std::vector<std::string> anchors = html_scan::Anchors(Manual());
    EXPECT_NE(std::find(anchors.begin(), anchors.end(), "contents"), anchors.end());
    EXPECT_NE(Manual().find("<title>Tracely マニュアル</title>"), std::string::npos);
    EXPECT_NE(Manual().find("<meta charset=\"utf-8\">"), std::string::npos);
}

TEST(Manual, UsesOnlyTagsTheRichTextViewerRenders)
{
    static const std::set<std::string> known{
        "a",    "b",     "big",  "blockquote", "body",  "br",     "center", "cite", "code", "dd",    "dfn",
        "div",  "dl",    "dt",   "em",         "font",  "h1",     "h2",     "h3",   "h4",   "h5",    "h6",
        "head", "hr",    "html", "i",          "img",   "kbd",    "li",     "meta", "nobr", "ol",    "p",
        "pre",  "s",     "samp", "small",      "span",  "strong", "style",  "sub",  "sup",  "table", "tbody",
        "td",   "tfoot", "th",   "thead",      "title", "tr",     "tt",     "u",    "ul",   "var"};
    std::set<std::string> unknown;
    for (const std::string& tag : html_scan::TagNames(Manual()))
        if (!known.count(tag))
            unknown.insert(tag);
    EXPECT_TRUE(unknown.empty()) << "first unknown tag: <" << *unknown.begin() << ">";
}

// Hint texts of the main window and the captions of the options dialog, as
// the program shows them: the manual is where a user looks them up.
class ManualMentions : public testing::TestWithParam<const char*> { };

TEST_P(ManualMentions, InterfaceText)
{
    EXPECT_NE(Manual().find(GetParam()), std::string::npos) << "not in the manual: " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(MainWindowHints, ManualMentions,
                         testing::Values("ファイル名入力", "ファイル選択", "iniファイルを保存", "オプション設定",
                                         "ヘルプ", "同時表示データファイル数", "Y軸の数", "前のファイル", "再描画",
                                         "次のファイル", "常に最上位", "ファイル名を表示", "カーソル表示",
                                         "Y1～Y3の縦軸を同調させます", "Y1上限", "Y2上限", "Y3上限", "Y1下限", "Y2下限",
                                         "Y3下限", "X下限", "X上限", "X軸自動設定", "Y1軸自動設定", "Y2軸自動設定",
                                         "Y3軸自動設定", "X軸のカラム番号", "Y1軸のカラム番号", "Y2軸のカラム番号",
                                         "Y3軸のカラム番号", "現在のカーソル位置", "赤カーソルとの差"));

INSTANTIATE_TEST_SUITE_P(OptionsDialog, ManualMentions,
                         testing::Values("■描画色の設定", "■オプション設定", "Y軸設定自動変更", "複数起動しない",
                                         "Wheel感度", "counts/scroll", "■関連づけ変更", "拡張子：", "Go!",
                                         "全てリセット", "戻る", "■ファイル選択ダイアログのフィルタ", "フィルタ",
                                         "説明", "ダブルクリックで実行", "Tracelyで開く(&amp;Q)", "元に戻す"));

INSTANTIATE_TEST_SUITE_P(SettingsKeys, ManualMentions,
                         testing::Values("Tracely.ini", "_Tracely.ini", "~/.config/tracely/", "UnitWheel", "FileDialog",
                                         "AutoDet", "NoMulExec", "TopMost", "DispName", "A0col", "A0auto", "A0upper",
                                         "A0lower", "[Assoc_DB]", "Ys", "mimeapps.list", "text/x-trcfile"));
