// SPDX-License-Identifier: MIT
#include "HandoverFrame.h"

std::optional<std::string> EncodeHandoverFrame(std::string_view name)
{
    if (name.size() > kHandoverMaxNameSize || name.find('\0') != std::string_view::npos)
        return std::nullopt;
    const auto length = static_cast<std::uint32_t>(name.size());
    std::string frame;
    frame.reserve(kHandoverHeaderSize + name.size());
    frame += static_cast<char>(kHandoverFrameMagic);
    for (int shift = 24; shift >= 0; shift -= 8)
        frame += static_cast<char>((length >> shift) & 0xFF);
    frame += name;
    return frame;
}

HandoverFrameDecoder::Status HandoverFrameDecoder::Feed(std::string_view chunk)
{
    if (m_status == Status::Invalid)
        return m_status;
    if (m_status == Status::Complete) {
        return chunk.empty() ? m_status : Fail();
    }

    while (m_headerFill < kHandoverHeaderSize && !chunk.empty()) {
        m_header[m_headerFill++] = static_cast<unsigned char>(chunk.front());
        chunk.remove_prefix(1);
        if (m_headerFill == 1 && m_header[0] != kHandoverFrameMagic)
            return Fail();
        if (m_headerFill == kHandoverHeaderSize) {
            std::uint32_t length = 0;
            for (std::size_t i = 1; i < kHandoverHeaderSize; ++i)
                length = (length << 8) | m_header[i];
            if (length > kHandoverMaxNameSize)
                return Fail();
            m_length = length;
            m_name.reserve(m_length);
        }
    }
    if (m_headerFill < kHandoverHeaderSize)
        return m_status;

    const std::size_t wanted = m_length - m_name.size();
    const std::string_view body = chunk.substr(0, wanted);
    if (body.find('\0') != std::string_view::npos)
        return Fail();
    m_name.append(body);
    chunk.remove_prefix(body.size());
    if (m_name.size() < m_length)
        return m_status;
    if (!chunk.empty())
        return Fail();
    return m_status = Status::Complete;
}

// A rejected frame keeps nothing, so a careless caller cannot act on half a name.
HandoverFrameDecoder::Status HandoverFrameDecoder::Fail()
{
    m_name.clear();
    m_name.shrink_to_fit();
    return m_status = Status::Invalid;
}
