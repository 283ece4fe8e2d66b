// SPDX-License-Identifier: MIT
// libFuzzer target for the profile (ini) parser and editor. Qt-free; from the
// repository root:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Iplatform fuzz/fuzz_profile.cpp
//   platform/IniDocument.cpp -o fuzz_profile && ./fuzz_profile -max_total_time=30
//
// Properties checked beyond "no crash": an untouched document gives back its
// bytes exactly; a stored value reads back trimmed; a removed key reads as
// missing; editing one key keeps every other key's value.
#include "IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Names are taken from the input itself so the fuzzer reaches real matches.
std::string_view Slice(std::string_view input, std::size_t seed, std::size_t maxLength)
{
    if (input.empty())
        return {};
    const std::size_t start = seed % input.size();
    const std::size_t length = (seed / 7) % (maxLength + 1);
    return input.substr(start, length);
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    IniDocument ini(input);
    Check(ini.Bytes() == input);

    std::size_t seed = size;
    for (std::size_t i = 0; i < size && i < 8; ++i)
        seed = seed * 131 + data[i];
    const std::string section(Slice(input, seed, 12));
    const std::string key(Slice(input, seed / 3, 12));
    const std::string value(Slice(input, seed / 5, 40));

    if (const auto found = ini.Find(section, key)) {
        ParseProfileInteger(*found);
        Check(TrimProfileBlanks(*found) == *found);
    }
    const auto keys = ini.SectionKeys(section);
    // Copied: the document's views do not survive an edit.
    std::optional<std::string> otherValue;
    if (!keys.empty())
        otherValue = ini.Find(section, keys.front());
    const std::string otherKey = keys.empty() ? std::string() : keys.front();

    const bool stored = ini.Set(section, key, value);
    Check(stored ==
          (IniDocument::IsValidSectionName(section) && IniDocument::IsValidKeyName(key) &&
           IniDocument::IsValidValue(value)));
    if (stored) {
        Check(ini.Find(section, key) == TrimProfileBlanks(value));
        if (!otherKey.empty() && !EqualsIgnoringAsciiCase(otherKey, TrimProfileBlanks(key))) {
            Check(ini.Find(section, otherKey) == otherValue);
        }
        // A reparse of the edited bytes must see the same value.
        const IniDocument reread(ini.Bytes());
        Check(reread.Find(section, key) == TrimProfileBlanks(value));
        Check(ini.Remove(section, key));
        Check(!ini.Find(section, key).has_value());
    }
    return 0;
}
