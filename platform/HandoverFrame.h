// SPDX-License-Identifier: MIT
// The message a second copy sends to the running one: one byte naming the
// protocol and its version, the name's length as a 32-bit big-endian number,
// then the name's bytes exactly as given on the command line (Linux file
// names are bytes, so nothing is converted). Names hold at most 4,096 bytes
// and never a NUL byte; the empty name is allowed (a start without a file).
// Plain C++, so the decoder can be fuzzed without Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 0xA1 can never start ASCII or UTF-8 text, so a client talking some other
// protocol is turned away at its first byte. A later version takes a new byte.
inline constexpr std::uint8_t kHandoverFrameMagic = 0xA1;
inline constexpr std::size_t kHandoverHeaderSize = 5;
inline constexpr std::size_t kHandoverMaxNameSize = 4096;
// The receiver's one-byte answer once the handed-over file is loaded and drawn.
inline constexpr char kHandoverAck = '\x06';

// nullopt when the name is longer than kHandoverMaxNameSize or holds a NUL.
std::optional<std::string> EncodeHandoverFrame(std::string_view name);

// Takes the bytes of one connection in whatever pieces they arrive. It keeps
// at most the declared name (never more than kHandoverMaxNameSize bytes) and
// never looks past the chunk it is given. Invalid is final: a wrong first
// byte, a length over the cap, a NUL in the name, or any byte after a
// complete frame (one message per connection).
class HandoverFrameDecoder {
public:
    enum class Status {
        NeedMore,
        Complete,
        Invalid
    };

    Status Feed(std::string_view chunk);
    Status CurrentStatus() const { return m_status; }
    // The name's bytes once the status is Complete; empty otherwise after Invalid.
    const std::string& Name() const { return m_name; }

private:
    Status Fail();

    Status m_status = Status::NeedMore;
    unsigned char m_header[kHandoverHeaderSize] = {};
    std::size_t m_headerFill = 0;
    std::size_t m_length = 0;
    std::string m_name;
};
