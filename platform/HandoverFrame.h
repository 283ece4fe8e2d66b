// SPDX-License-Identifier: MIT
// The message a second copy sends to the running one: one byte naming the
// protocol and its version, the body's length as a 32-bit big-endian number,
// then the body. Version 1 carries one name's bytes exactly as given on the
// command line (Linux file names are bytes, so nothing is converted); the
// empty name is allowed (a start without a file). Version 2 carries a list:
// 1 to 100 names, each ended by a NUL byte. Names hold at most 4,096 bytes
// and never a NUL byte of their own; in a list none is empty. Plain C++, so
// the decoder can be fuzzed without Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// 0xA1 can never start ASCII or UTF-8 text, so a client talking some other
// protocol is turned away at its first byte. A later version takes a new byte.
inline constexpr std::uint8_t kHandoverFrameMagic = 0xA1;
inline constexpr std::uint8_t kHandoverListMagic = 0xA2;
inline constexpr std::size_t kHandoverHeaderSize = 5;
inline constexpr std::size_t kHandoverMaxNameSize = 4096;
inline constexpr std::size_t kHandoverMaxNames = 100;
inline constexpr std::size_t kHandoverMaxListSize = kHandoverMaxNames * (kHandoverMaxNameSize + 1);
// The receiver's one-byte answer once the handed-over file is loaded and drawn.
inline constexpr char kHandoverAck = '\x06';

// nullopt when the name is longer than kHandoverMaxNameSize or holds a NUL.
std::optional<std::string> EncodeHandoverFrame(std::string_view name);
// A list frame of names in order; nullopt for no names, more than
// kHandoverMaxNames, or a name that is empty, too long or holds a NUL.
std::optional<std::string> EncodeHandoverList(const std::vector<std::string>& names);

// Takes the bytes of one connection in whatever pieces they arrive. It keeps
// at most the declared body (never more than the version's cap) and never
// looks past the chunk it is given. Invalid is final: a wrong first byte, a
// length over the cap, a NUL in a single name, a list that breaks its rules,
// or any byte after a complete frame (one message per connection).
class HandoverFrameDecoder {
public:
    enum class Status {
        NeedMore,
        Complete,
        Invalid
    };

    Status Feed(std::string_view chunk);
    Status CurrentStatus() const { return m_status; }
    // The name's bytes once the status is Complete; empty otherwise after
    // Invalid. For a list, its first name.
    const std::string& Name() const { return m_names.empty() ? m_name : m_names.front(); }
    // Every name once Complete: one for a single name, the list in order.
    std::vector<std::string> Names() const { return m_names.empty() ? std::vector<std::string>{m_name} : m_names; }

private:
    Status Fail();
    Status Finish();

    Status m_status = Status::NeedMore;
    bool m_list = false;
    std::vector<std::string> m_names;   // a list's names, split once complete
    unsigned char m_header[kHandoverHeaderSize] = {};
    std::size_t m_headerFill = 0;
    std::size_t m_length = 0;
    std::string m_name;
};
