// SPDX-License-Identifier: MIT
#include "HtmlScan.h"

#include <regex>

namespace html_scan {
namespace {

const std::regex kTag(R"(<(/?)([A-Za-z][A-Za-z0-9]*)([^>]*)>)");
const std::regex kId(R"((?:^|\s)id\s*=\s*["']([^"']*)["'])", std::regex::icase);
const std::regex kName(R"((?:^|\s)name\s*=\s*["']([^"']*)["'])", std::regex::icase);
const std::regex kHref(R"((?:^|\s)href\s*=\s*["']#([^"']*)["'])", std::regex::icase);

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Comments may hold text that looks like tags; drop them first.
std::string WithoutComments(const std::string& html)
{
    return std::regex_replace(html, std::regex(R"(<!--[\s\S]*?-->)"), "");
}

template <typename Visit> void ForEachTag(const std::string& html, Visit visit)
{
    const std::string text = WithoutComments(html);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kTag); it != std::sregex_iterator(); ++it)
        visit((*it)[1].length() > 0, Lower((*it)[2].str()), (*it)[3].str());
}

}   // namespace

std::vector<std::string> TagNames(const std::string& html)
{
    std::vector<std::string> names;
    ForEachTag(html, [&](bool, const std::string& name, const std::string&) { names.push_back(name); });
    return names;
}

std::vector<std::string> Anchors(const std::string& html)
{
    std::vector<std::string> anchors;
    ForEachTag(html, [&](bool closing, const std::string& name, const std::string& attributes) {
        if (closing)
            return;
        std::smatch m;
        if (std::regex_search(attributes, m, kId))
            anchors.push_back(m[1]);
        if (name == "a" && std::regex_search(attributes, m, kName))
            anchors.push_back(m[1]);
    });
    return anchors;
}

std::vector<std::string> InPageLinks(const std::string& html)
{
    std::vector<std::string> links;
    ForEachTag(html, [&](bool closing, const std::string&, const std::string& attributes) {
        std::smatch m;
        if (!closing && std::regex_search(attributes, m, kHref))
            links.push_back(m[1]);
    });
    return links;
}

std::set<std::string> UnresolvedLinks(const std::string& html)
{
    const std::vector<std::string> anchors = Anchors(html);
    const std::set<std::string> defined(anchors.begin(), anchors.end());
    std::set<std::string> missing;
    for (const std::string& target : InPageLinks(html))
        if (!defined.count(target))
            missing.insert(target);
    return missing;
}

}   // namespace html_scan
