// SPDX-License-Identifier: MIT
#include "HandoverFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Status = HandoverFrameDecoder::Status;

std::string Header(std::uint32_t length, unsigned char magic = kHandoverFrameMagic)
{
    std::string header(1, static_cast<char>(magic));
    for (int shift = 24; shift >= 0; shift -= 8)
        header += static_cast<char>((length >> shift) & 0xFF);
    return header;
}

// Each chunk is copied into its own exact-size heap block, so a read past
// the chunk shows up under the address sanitizer.
Status FeedInChunks(HandoverFrameDecoder& decoder, const std::string& bytes, std::size_t chunkSize)
{
    Status status = decoder.CurrentStatus();
    for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
        const std::size_t size = std::min(chunkSize, bytes.size() - at);
        const auto copy = std::make_unique<char[]>(size);
        std::copy_n(bytes.data() + at, size, copy.get());
        status = decoder.Feed(std::string_view(copy.get(), size));
    }
    return status;
}

const std::string kNames[] = {
    "",
    "/home/user/data/run 1.gdw",
    "relative/データ.dat",
    std::string("\xff\xfe latin-1 \xe9"),
    std::string(kHandoverMaxNameSize, 'n'),
};

class HandoverRoundTrip : public testing::TestWithParam<std::tuple<std::size_t, std::size_t>> { };

TEST_P(HandoverRoundTrip, NameArrivesUnchangedWhateverTheChunking)
{
    const auto [nameIndex, chunkSize] = GetParam();
    const std::string& name = kNames[nameIndex];
    const auto frame = EncodeHandoverFrame(name);
    ASSERT_TRUE(frame.has_value());
    ASSERT_EQ(frame->size(), kHandoverHeaderSize + name.size());
    HandoverFrameDecoder decoder;
    EXPECT_EQ(FeedInChunks(decoder, *frame, chunkSize), Status::Complete);
    EXPECT_EQ(decoder.Name(), name);
}

INSTANTIATE_TEST_SUITE_P(NamesAndChunks, HandoverRoundTrip,
                         testing::Combine(testing::Range<std::size_t>(0, std::size(kNames)),
                                          testing::Values<std::size_t>(1, 2, 3, 5, 7, 4101, 10000)));

TEST(HandoverFrame, EncoderRefusesOverlongAndNulNames)
{
    EXPECT_FALSE(EncodeHandoverFrame(std::string(kHandoverMaxNameSize + 1, 'n')).has_value());
    EXPECT_FALSE(EncodeHandoverFrame(std::string("a\0b", 3)).has_value());
}

TEST(HandoverFrame, EveryProperPrefixNeedsMore)
{
    const std::string frame = *EncodeHandoverFrame("/data/x.gdw");
    for (std::size_t cut = 0; cut < frame.size(); ++cut) {
        HandoverFrameDecoder decoder;
        EXPECT_EQ(decoder.Feed(std::string_view(frame).substr(0, cut)), Status::NeedMore) << cut;
        EXPECT_EQ(decoder.Feed(""), Status::NeedMore);
    }
}

struct BadFrame {
    const char* name;
    std::string bytes;
};

class HandoverInvalid : public testing::TestWithParam<BadFrame> { };

TEST_P(HandoverInvalid, RejectedForGoodWithoutKeepingAnything)
{
    for (std::size_t chunkSize : {std::size_t{1}, std::size_t{4096}}) {
        HandoverFrameDecoder decoder;
        EXPECT_EQ(FeedInChunks(decoder, GetParam().bytes, chunkSize), Status::Invalid) << chunkSize;
        EXPECT_TRUE(decoder.Name().empty());
        EXPECT_LE(decoder.Name().capacity(), std::string().capacity());
        EXPECT_EQ(decoder.Feed(*EncodeHandoverFrame("x")), Status::Invalid);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, HandoverInvalid,
    testing::Values(BadFrame{"WrongMagic", "GET / HTTP/1.1\r\n"},
                    BadFrame{"FutureVersion", Header(1, kHandoverListMagic + 1) + "x"},
                    BadFrame{"EmptyList", Header(0, kHandoverListMagic)},
                    BadFrame{"ListNameWithoutItsNul", Header(5, kHandoverListMagic) + std::string("a\0b.d", 5)},
                    BadFrame{"EmptyNameInAList", Header(4, kHandoverListMagic) + std::string("a\0\0\0", 4)},
                    BadFrame{"ListNameOverTheCap",
                             Header(kHandoverMaxNameSize + 2, kHandoverListMagic) +
                                 std::string(kHandoverMaxNameSize + 1, 'n') + '\0'},
                    BadFrame{"OneNameTooManyInAList",
                             Header(2 * (kHandoverMaxNames + 1), kHandoverListMagic) +
                                 [] {
                                     std::string body;
                                     for (std::size_t i = 0; i <= kHandoverMaxNames; ++i)
                                         body += std::string("x\0", 2);
                                     return body;
                                 }()},
                    BadFrame{"ListOverItsCap", Header(kHandoverMaxListSize + 1, kHandoverListMagic)},
                    BadFrame{"CapPlusOne",
                             Header(kHandoverMaxNameSize + 1) + std::string(kHandoverMaxNameSize + 1, 'n')},
                    BadFrame{"HugeLengthWithoutBody", Header(0xFFFFFFFFu)},
                    BadFrame{"NulInName", Header(3) + std::string("a\0b", 3)},
                    BadFrame{"NulAtEnd", Header(2) + std::string("a\0", 2)},
                    BadFrame{"TrailingByte", *EncodeHandoverFrame("/x") + "!"},
                    BadFrame{"SecondFrame", *EncodeHandoverFrame("/x") + *EncodeHandoverFrame("/y")},
                    BadFrame{"TrailingAfterEmptyName", Header(0) + "x"}),
    [](const testing::TestParamInfo<BadFrame>& testInfo) { return std::string(testInfo.param.name); });

TEST(HandoverFrame, ListArrivesInOrderWhateverTheChunking)
{
    const std::vector<std::string> names{"/data/a.dat", "relative/データ.dat", std::string(kHandoverMaxNameSize, 'n'),
                                         std::string("\xff\xfe")};
    const auto frame = EncodeHandoverList(names);
    ASSERT_TRUE(frame.has_value());
    for (const std::size_t chunkSize : {std::size_t{1}, std::size_t{7}, std::size_t{100000}}) {
        HandoverFrameDecoder decoder;
        EXPECT_EQ(FeedInChunks(decoder, *frame, chunkSize), Status::Complete) << chunkSize;
        EXPECT_EQ(decoder.Names(), names);
    }
    // A single name is a list of one to whoever takes the names.
    HandoverFrameDecoder single;
    EXPECT_EQ(single.Feed(*EncodeHandoverFrame("/x.dat")), Status::Complete);
    EXPECT_EQ(single.Names(), std::vector<std::string>{"/x.dat"});

    EXPECT_FALSE(EncodeHandoverList({}).has_value());
    EXPECT_FALSE(EncodeHandoverList({"a", ""}).has_value());
    EXPECT_FALSE(EncodeHandoverList(std::vector<std::string>(kHandoverMaxNames + 1, "a")).has_value());
    EXPECT_TRUE(EncodeHandoverList(std::vector<std::string>(kHandoverMaxNames, "a")).has_value());
}

TEST(HandoverFrame, ExactCapNameReservesNoMoreThanItsLength)
{
    HandoverFrameDecoder decoder;
    EXPECT_EQ(decoder.Feed(Header(kHandoverMaxNameSize)), Status::NeedMore);
    EXPECT_LE(decoder.Name().capacity(), kHandoverMaxNameSize + 32);
}

TEST(HandoverFrame, CompleteFrameStaysCompleteOnEmptyChunks)
{
    HandoverFrameDecoder decoder;
    EXPECT_EQ(decoder.Feed(*EncodeHandoverFrame("")), Status::Complete);
    EXPECT_EQ(decoder.Feed(""), Status::Complete);
    EXPECT_EQ(decoder.Name(), "");
}

}   // namespace
