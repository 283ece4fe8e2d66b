// SPDX-License-Identifier: MIT
// libFuzzer target for the hand-over frame decoder. Qt-free; from the
// repository root:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Iplatform fuzz/fuzz_handover_frame.cpp
//   platform/HandoverFrame.cpp -o fuzz_handover_frame && ./fuzz_handover_frame -max_total_time=30
//
// The first input byte picks a chunk size; the rest is fed in chunks of that
// size, each copied to its own heap block so that a read past a chunk is
// caught. The verdict must not depend on the chunking, complete names obey
// the limits and encode to the same bytes, and encoding a name and decoding
// it gives the name back.
#include "HandoverFrame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chunkSize = data[0] % 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    HandoverFrameDecoder whole;
    const auto wholeStatus = whole.Feed(bytes);

    HandoverFrameDecoder chunked;
    auto status = chunked.CurrentStatus();
    for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
        const std::size_t length = std::min(chunkSize, bytes.size() - at);
        const auto copy = std::make_unique<char[]>(length);
        std::copy_n(bytes.data() + at, length, copy.get());
        status = chunked.Feed(std::string_view(copy.get(), length));
    }
    Check(status == wholeStatus);
    Check(chunked.Names() == whole.Names());
    const bool list = !bytes.empty() && static_cast<std::uint8_t>(bytes.front()) == kHandoverListMagic;
    Check(whole.Name().capacity() <= (list ? kHandoverMaxListSize : kHandoverMaxNameSize) + 64);
    if (status == HandoverFrameDecoder::Status::Complete) {
        const std::vector<std::string> names = whole.Names();
        Check(!names.empty() && names.size() <= kHandoverMaxNames);
        for (const std::string& name : names) {
            Check(name.size() <= kHandoverMaxNameSize);
            Check(name.find('\0') == std::string_view::npos);
        }
        Check((list ? EncodeHandoverList(names) : EncodeHandoverFrame(whole.Name())) == std::string(bytes));
    }

    if (const auto frame = EncodeHandoverFrame(bytes)) {
        HandoverFrameDecoder roundTrip;
        Check(roundTrip.Feed(*frame) == HandoverFrameDecoder::Status::Complete);
        Check(roundTrip.Name() == bytes);
    } else {
        Check(bytes.size() > kHandoverMaxNameSize || bytes.find('\0') != std::string_view::npos);
    }
    return 0;
}
