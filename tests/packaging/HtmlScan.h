// SPDX-License-Identifier: MIT
// Just enough HTML scanning to check the manual: the tags it uses, the
// anchors it defines and the in-page links it makes. The manual is our own
// hand-written file, so attributes are always quoted.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace html_scan {

// Lower-case names of every start and end tag, in document order
// ("<!DOCTYPE" and comments are left out).
std::vector<std::string> TagNames(const std::string& html);

// Values of id="..." and of <a name="...">, in document order.
std::vector<std::string> Anchors(const std::string& html);

// Targets of href="#...", without the '#'.
std::vector<std::string> InPageLinks(const std::string& html);

// Link targets that no anchor defines, each once.
std::set<std::string> UnresolvedLinks(const std::string& html);

}   // namespace html_scan
