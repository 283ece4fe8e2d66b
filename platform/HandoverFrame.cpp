// SPDX-License-Identifier: MIT
#include "HandoverFrame.h"

namespace {

bool UsableName(std::string_view name)
{
    return name.size() <= kHandoverMaxNameSize && name.find('\0') == std::string_view::npos;
}

std::string Frame(std::uint8_t magic, std::string_view body)
{
    const auto length = static_cast<std::uint32_t>(body.size());
    std::string frame;
    frame.reserve(kHandoverHeaderSize + body.size());
    frame += static_cast<char>(magic);
    for (int shift = 24; shift >= 0; shift -= 8)
        frame += static_cast<char>((length >> shift) & 0xFF);
    frame += body;
    return frame;
}

}   // namespace

std::optional<std::string> EncodeHandoverFrame(std::string_view name)
{
    if (!UsableName(name))
        return std::nullopt;
    return Frame(kHandoverFrameMagic, name);
}

std::optional<std::string> EncodeHandoverList(const std::vector<std::string>& names)
{
    if (names.empty() || names.size() > kHandoverMaxNames)
        return std::nullopt;
    std::string body;
    for (const std::string& name : names) {
        if (name.empty() || !UsableName(name))
            return std::nullopt;
        body += name;
        body += '\0';
    }
    return Frame(kHandoverListMagic, body);
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
        if (m_headerFill == 1) {
            if (m_header[0] != kHandoverFrameMagic && m_header[0] != kHandoverListMagic)
                return Fail();
            m_list = m_header[0] == kHandoverListMagic;
        }
        if (m_headerFill == kHandoverHeaderSize) {
            std::uint32_t length = 0;
            for (std::size_t i = 1; i < kHandoverHeaderSize; ++i)
                length = (length << 8) | m_header[i];
            if (length > (m_list ? kHandoverMaxListSize : kHandoverMaxNameSize))
                return Fail();
            m_length = length;
            m_name.reserve(m_length);
        }
    }
    if (m_headerFill < kHandoverHeaderSize)
        return m_status;

    const std::size_t wanted = m_length - m_name.size();
    const std::string_view body = chunk.substr(0, wanted);
    if (!m_list && body.find('\0') != std::string_view::npos)
        return Fail();
    m_name.append(body);
    chunk.remove_prefix(body.size());
    if (m_name.size() < m_length)
        return m_status;
    if (!chunk.empty())
        return Fail();
    return Finish();
}

// A list is split only once it is whole: every name ends in a NUL, none is
// empty or over the cap, and there are at most kHandoverMaxNames.
HandoverFrameDecoder::Status HandoverFrameDecoder::Finish()
{
    if (m_list) {
        if (m_name.empty() || m_name.back() != '\0')
            return Fail();
        std::vector<std::string> names;
        std::size_t start = 0;
        while (start < m_name.size()) {
            const std::size_t end = m_name.find('\0', start);
            if (end == start || end - start > kHandoverMaxNameSize || names.size() == kHandoverMaxNames)
                return Fail();
            names.emplace_back(m_name, start, end - start);
            start = end + 1;
        }
        m_names = std::move(names);
        m_name.clear();
    }
    return m_status = Status::Complete;
}

// A rejected frame keeps nothing, so a careless caller cannot act on half a name.
HandoverFrameDecoder::Status HandoverFrameDecoder::Fail()
{
    m_names.clear();
    m_name.clear();
    m_name.shrink_to_fit();
    return m_status = Status::Invalid;
}
