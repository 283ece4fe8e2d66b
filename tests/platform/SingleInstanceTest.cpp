// SPDX-License-Identifier: MIT
// The lock and the channel inside one test process: the first copy's side
// runs on the event loop, a second copy's side on a thread beside it.
#include "SingleInstance.h"
#include "HandoverFrame.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Runs blocking client code on a thread while the event loop serves.
template <class Work> auto BesideEventLoop(Work work)
{
    auto result = std::async(std::launch::async, std::move(work));
    (void)QTest::qWaitFor([&] { return result.wait_for(0s) == std::future_status::ready; }, 20000);
    return result.get();
}

struct RawExchange {
    bool Connected = false;
    bool Acknowledged = false;
    bool ClosedByServer = false;
};

// Sends bytes as they are, then waits for an answer or the end of the connection.
RawExchange SendRaw(const std::string& socketPath, const std::string& bytes, int waitMs)
{
    RawExchange outcome;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", socketPath.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return outcome;
    }
    outcome.Connected = true;
    if (!bytes.empty())
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        char answer[16];
        const ssize_t n = ::recv(fd, answer, sizeof(answer), 0);
        if (n <= 0) {
            outcome.ClosedByServer = true;
            break;
        }
        outcome.Acknowledged = answer[0] == kHandoverAck;
    }
    ::close(fd);
    return outcome;
}

std::string Frame(const std::string& name)
{
    return EncodeHandoverFrame(name).value();
}

std::string Header(std::uint32_t length)
{
    std::string header(1, static_cast<char>(kHandoverFrameMagic));
    for (int shift = 24; shift >= 0; shift -= 8)
        header += static_cast<char>((length >> shift) & 0xFF);
    return header;
}

}   // namespace

TEST(SingleInstancePaths, DisplayKeyTellsSessionsApart)
{
    EXPECT_EQ(DisplayKey("", ":0"), DisplayKey("", ":0.0"));
    EXPECT_EQ(DisplayKey("", "host:1.2"), DisplayKey("", "host:1"));
    EXPECT_NE(DisplayKey("", ":0"), DisplayKey("", ":1"));
    EXPECT_NE(DisplayKey("wayland-0", ""), DisplayKey("", ":0"));
    EXPECT_EQ(DisplayKey("wayland-0", ":0"), DisplayKey("wayland-0", ":5"));   // Wayland's own session wins
    EXPECT_NE(DisplayKey("", ""), DisplayKey("", ":0"));
    EXPECT_EQ(DisplayKey("wayland-1", "").size(), 8u);
}

TEST(SingleInstancePaths, NoRuntimeDirectoryOrTooLongAPathMeansNoChannel)
{
    EXPECT_TRUE(SingleInstancePathsFor("", "0000abcd").Lock.empty());
    const std::string deep = "/run/user/1000/" + std::string(100, 'd');
    EXPECT_TRUE(SingleInstancePathsFor(deep, "0000abcd").Socket.empty());
    const SingleInstancePaths paths = SingleInstancePathsFor("/run/user/1000", "0000abcd");
    EXPECT_EQ(paths.Lock.rfind("/run/user/1000/", 0), 0u);
    EXPECT_EQ(paths.Socket.rfind("/run/user/1000/", 0), 0u);
    EXPECT_NE(paths.Lock, paths.Socket);

    SingleInstance alone(SingleInstancePaths{});
    EXPECT_EQ(alone.Claim(), SingleInstance::Role::Alone);
    EXPECT_EQ(alone.HandOver("a.dat", 100), SingleInstance::HandOverResult::NotReached);
}

class SingleInstanceChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Paths = SingleInstancePathsFor(m_dir.path().toStdString(), "0000test");
        First = std::make_unique<SingleInstance>(Paths);
        ASSERT_EQ(First->Claim(), SingleInstance::Role::First);
    }

    void Serve()
    {
        ASSERT_TRUE(First->Listen());
        First->SetFrameTimeout(300);
        First->Serve([this](const std::vector<std::string>& names) {
            Received.insert(Received.end(), names.begin(), names.end());
        });
    }

    SingleInstance::HandOverResult SecondCopySends(const std::string& name, int connectMs = 2000)
    {
        return BesideEventLoop([this, name, connectMs] {
            SingleInstance second(Paths);
            EXPECT_EQ(second.Claim(), SingleInstance::Role::Other);
            return second.HandOver(name, connectMs, 5000);
        });
    }

    void TearDown() override { First.reset(); }

    SingleInstancePaths Paths;
    std::unique_ptr<SingleInstance> First;
    std::vector<std::string> Received;

private:
    QTemporaryDir m_dir;
};

TEST_F(SingleInstanceChannel, NamesArriveByteForByteAndAreAcknowledged)
{
    Serve();
    const std::string notUtf8 = "/data/\xff\xfe m\xe9sure.dat";
    const std::string longest(kHandoverMaxNameSize, 'n');
    EXPECT_EQ(SecondCopySends("relative/a.dat"), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(SecondCopySends(""), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(SecondCopySends(notUtf8), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(SecondCopySends(longest), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(Received, (std::vector<std::string>{"relative/a.dat", "", notUtf8, longest}));
}

TEST_F(SingleInstanceChannel, SeveralNamesArriveTogetherInOrder)
{
    Serve();
    std::vector<std::vector<std::string>> deliveries;
    First->Serve([&](const std::vector<std::string>& names) { deliveries.push_back(names); });
    const std::vector<std::string> names{"/data/a.dat", "/data/\xff b.dat", "/data/c.dat"};
    const auto result = BesideEventLoop([this, names] {
        SingleInstance second(Paths);
        second.Claim();
        return second.HandOver(names, 2000, 5000);
    });
    EXPECT_EQ(result, SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(deliveries, std::vector<std::vector<std::string>>{names}) << "one delivery with every name";
    const std::vector<std::string> tooMany(kHandoverMaxNames + 1, "x.dat");
    EXPECT_EQ(SingleInstance(Paths).HandOver(tooMany, 100, 100), SingleInstance::HandOverResult::NameRefused);
}

TEST_F(SingleInstanceChannel, NameLongerThanAFrameCarriesIsRefusedBeforeConnecting)
{
    Serve();
    EXPECT_EQ(SecondCopySends(std::string(kHandoverMaxNameSize + 1, 'n')), SingleInstance::HandOverResult::NameRefused);
    QTest::qWait(50);
    EXPECT_TRUE(Received.empty());
}

TEST_F(SingleInstanceChannel, LockHeldButNobodyListeningEndsWithinTheDeadline)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SecondCopySends("a.dat", 300), SingleInstance::HandOverResult::NotReached);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(SingleInstanceChannel, CopyThatTakesOverAFreedLockKeepsTheFileInsteadOfLosingIt)
{
    QTimer::singleShot(200, [this] { First->Release(); });
    const auto result = BesideEventLoop([this] {
        SingleInstance second(Paths);
        const auto outcome = second.HandOver("a.dat", 3000, 1000);
        // It holds the lock now: a third copy finds it taken.
        SingleInstance third(Paths);
        EXPECT_EQ(third.Claim(), SingleInstance::Role::Other);
        return outcome;
    });
    EXPECT_EQ(result, SingleInstance::HandOverResult::BecameFirst);
}

TEST_F(SingleInstanceChannel, ReleasedLockGoesToTheNextCopy)
{
    SingleInstance second(Paths);
    EXPECT_EQ(second.Claim(), SingleInstance::Role::Other);
    First->Release();
    EXPECT_EQ(second.Claim(), SingleInstance::Role::First);
}

TEST_F(SingleInstanceChannel, SocketLeftByADeadCopyIsReplaced)
{
    // A bound socket whose owner is gone: connecting to it is refused.
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", Paths.Socket.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);

    Serve();
    EXPECT_EQ(SecondCopySends("a.dat"), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(Received, std::vector<std::string>{"a.dat"});
}

TEST_F(SingleInstanceChannel, ConnectionsWaitUntilTheWindowServesThem)
{
    ASSERT_TRUE(First->Listen());
    auto pending = std::async(std::launch::async, [this] {
        SingleInstance second(Paths);
        second.Claim();
        return second.HandOver("early.dat", 2000, 5000);
    });
    QTest::qWait(200);
    EXPECT_TRUE(Received.empty());
    First->Serve(
        [this](const std::vector<std::string>& names) { Received.insert(Received.end(), names.begin(), names.end()); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return pending.wait_for(0s) == std::future_status::ready; }, 5000));
    EXPECT_EQ(pending.get(), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(Received, std::vector<std::string>{"early.dat"});
}

TEST_F(SingleInstanceChannel, SenderThatGivesUpDuringAMessageBoxLeavesTheFirstCopyWhole)
{
    ASSERT_TRUE(First->Listen());
    First->Serve([this](const std::vector<std::string>& names) {
        // A message box's own event loop, long enough for the sender to leave.
        QEventLoop box;
        QTimer::singleShot(300, &box, &QEventLoop::quit);
        box.exec();
        Received.insert(Received.end(), names.begin(), names.end());
    });
    const auto result = BesideEventLoop([this] {
        SingleInstance second(Paths);
        second.Claim();
        return second.HandOver("slow.dat", 2000, 50);
    });
    EXPECT_EQ(result, SingleInstance::HandOverResult::NoAnswer);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Received.empty(); }, 3000));
    EXPECT_EQ(SecondCopySends("next.dat"), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(Received, (std::vector<std::string>{"slow.dat", "next.dat"}));
}

TEST_F(SingleInstanceChannel, SilentClientDoesNotHoldUpAnother)
{
    ASSERT_TRUE(First->Listen());
    First->Serve([this](const std::vector<std::string>& names) {
        Received.insert(Received.end(), names.begin(), names.end());
    });   // default 5 s
    auto silent = std::async(std::launch::async, [this] { return SendRaw(Paths.Socket, "", 1500); });
    QTest::qWait(100);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SecondCopySends("b.dat"), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return silent.wait_for(0s) == std::future_status::ready; }, 5000));
    EXPECT_EQ(Received, std::vector<std::string>{"b.dat"});
}

struct BadClient {
    const char* Label;
    std::string Bytes;
};

class SingleInstanceBadClient : public SingleInstanceChannel, public ::testing::WithParamInterface<BadClient> { };

TEST_P(SingleInstanceBadClient, IsDroppedUnansweredAndTheChannelStaysUsable)
{
    Serve();
    const RawExchange exchange = BesideEventLoop([this] { return SendRaw(Paths.Socket, GetParam().Bytes, 3000); });
    EXPECT_TRUE(exchange.Connected);
    EXPECT_FALSE(exchange.Acknowledged);
    EXPECT_TRUE(exchange.ClosedByServer);
    EXPECT_TRUE(Received.empty());
    EXPECT_EQ(SecondCopySends("after.dat"), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(Received, std::vector<std::string>{"after.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SingleInstanceBadClient,
    ::testing::Values(BadClient{"Garbage", "GET / HTTP/1.0\r\n\r\n"},
                      BadClient{"HugeLength", Header(0xFFFFFFFFu) + "abc"},
                      BadClient{"OneOverTheCap",
                                Header(kHandoverMaxNameSize + 1) + std::string(kHandoverMaxNameSize + 1, 'a')},
                      BadClient{"NulInName", Header(3) + std::string("a\0b", 3)},
                      BadClient{"BytesAfterTheFrame", Frame("a.dat") + "more"}, BadClient{"Nothing", ""},
                      BadClient{"HalfAFrame", Header(10) + "abc"}),
    [](const ::testing::TestParamInfo<BadClient>& testInfo) { return std::string(testInfo.param.Label); });

TEST_F(SingleInstanceChannel, ClosingCopyTurnsNamesAwayAndTheSenderTakesOverWhenItIsGone)
{
    ASSERT_TRUE(First->Listen());
    First->Serve(
        [this](const std::vector<std::string>& names) { Received.insert(Received.end(), names.begin(), names.end()); });
    First->StopServing();

    auto pending = std::async(std::launch::async, [this] {
        SingleInstance second(Paths);
        second.Claim();
        return second.HandOver("late.dat", 3000, 5000);
    });
    QTest::qWait(300);
    EXPECT_TRUE(Received.empty());
    First->Release();   // the closing copy has gone
    EXPECT_TRUE(QTest::qWaitFor([&] { return pending.wait_for(0s) == std::future_status::ready; }, 5000));
    EXPECT_EQ(pending.get(), SingleInstance::HandOverResult::BecameFirst);
    EXPECT_TRUE(Received.empty());
}

TEST_F(SingleInstanceChannel, FrameArrivingWhileClosingIsNotAcknowledged)
{
    ASSERT_TRUE(First->Listen());
    // The frame is taken in while the window still serves, then the window
    // starts closing inside the receiver (its settings error box).
    First->Serve([this](const std::vector<std::string>& names) {
        First->StopServing();
        Received.insert(Received.end(), names.begin(), names.end());
    });
    const auto result = BesideEventLoop([this] {
        SingleInstance second(Paths);
        second.Claim();
        return second.HandOver("during-close.dat", 500, 2000);
    });
    EXPECT_NE(result, SingleInstance::HandOverResult::Acknowledged);
}

// While the window loads a file, hand-overs wait: neither a new connection
// nor one already part read is served, nor dropped for taking too long.
TEST_F(SingleInstanceChannel, HeldChannelServesNothingUntilLetGo)
{
    Serve();   // frames time out after 300 ms
    const std::string frame = Frame("/data/held.dat");
    std::promise<void> rest;
    auto partly = std::async(std::launch::async, [&, restSent = rest.get_future()]() mutable {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", Paths.Socket.c_str());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            ::close(fd);
            return false;
        }
        ::send(fd, frame.data(), 3, MSG_NOSIGNAL);
        restSent.wait();
        ::send(fd, frame.data() + 3, frame.size() - 3, MSG_NOSIGNAL);
        pollfd waiting{fd, POLLIN, 0};
        char answer = 0;
        const bool acknowledged =
            ::poll(&waiting, 1, 5000) == 1 && ::recv(fd, &answer, 1, 0) == 1 && answer == kHandoverAck;
        ::close(fd);
        return acknowledged;
    });
    QTest::qWait(100);   // accepted, three bytes read
    First->Hold(true);
    rest.set_value();
    auto later = std::async(std::launch::async, [this] { return SendRaw(Paths.Socket, Frame("/data/new.dat"), 5000); });
    QTest::qWait(600);
    EXPECT_TRUE(Received.empty());
    First->Hold(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return later.wait_for(0s) == std::future_status::ready; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return partly.wait_for(0s) == std::future_status::ready; }, 5000));
    EXPECT_TRUE(partly.get());
    EXPECT_TRUE(later.get().Acknowledged);
    EXPECT_EQ(Received.size(), 2u);
}
