#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "DeviceAccess/ErrorTexts.h"
#include "DeviceAccess/LCAObject.h"
#include "LoopbackListener.h"
#include "PeerPty.h"
#include "TempFolder.h"

namespace {

using namespace da;
using talvo_test::LoopbackListener;
using talvo_test::PeerPty;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

TConnectionDescription Port(const std::string& name, std::uint8_t priority = 1) {
    return SerialDescription(name, 115200, SerialMode::Direct, {2, priority, 0});
}

// A task with its own event, as a client that does not wait submits it.
struct OwnTask {
    TLCAEvent event;
    std::size_t transferred = 0;
    std::uint8_t bytes[16] = {};
    TLCACommand task;
    OwnTask(TaskKind kind, std::uint8_t mark, std::uint32_t timeoutMs = 2000) {
        bytes[0] = mark;
        task = {kind, bytes, kind == TaskKind::Write ? 1u : sizeof bytes, timeoutMs, &event, &transferred};
    }
};

class Worker : public ::testing::Test {
protected:
    talvo_test::TempSettings settings_;
    PeerPty peer_{"COM5"};
    std::shared_ptr<TLCAThread> worker_ = std::make_shared<TLCAThread>();
};

TEST_F(Worker, SilentLineTimesOutAfterTheTasksTime) {
    TLCAObject client(worker_, Port("COM5"));
    ASSERT_EQ(client.OpenError(), err::kNone);
    std::uint8_t buffer[4];
    std::size_t received = 7;
    const auto start = Clock::now();
    EXPECT_EQ(client.Read(buffer, 4, 1000, received), err::kTimeout);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 1000ms);
    EXPECT_LT(took, 1500ms);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(client.LastError(), err::kTimeout);
}

TEST_F(Worker, ReadReturnsWhatArrivesAndWriteReachesThePeer) {
    TLCAObject client(worker_, Port("COM5"));
    const std::uint8_t hello[] = {0x10, 0x20, 0x30};
    ASSERT_EQ(client.Write(hello, 3, 500), err::kNone);
    EXPECT_EQ(peer_.Receive(3), (Bytes{0x10, 0x20, 0x30}));
    std::thread answer([&] {
        std::this_thread::sleep_for(100ms);
        peer_.Send({0xAB, 0xCD});
    });
    std::uint8_t buffer[8] = {};
    std::size_t received = 0;
    EXPECT_EQ(client.Read(buffer, 8, 1000, received), err::kNone);
    answer.join();
    EXPECT_EQ(received, 2u);
    EXPECT_EQ(buffer[1], 0xCD);
}

TEST_F(Worker, OneTaskPerChannelAndOnlyTheOwnerReleases) {
    TLCAObject a(worker_, Port("COM5"));
    TLCAObject b(worker_, Port("COM5"));
    // A second physical open of the port would be refused as busy: both share one.
    ASSERT_EQ(a.OpenError(), err::kNone);
    ASSERT_EQ(b.OpenError(), err::kNone);
    OwnTask first(TaskKind::Read, 0), second(TaskKind::Read, 0);
    ASSERT_EQ(a.Submit(first.task), err::kNone);
    EXPECT_EQ(a.Submit(second.task), err::kTaskPending);
    EXPECT_EQ(b.ReleaseLock(), err::kNotOwner);
    // The owner's release ends its pending read.
    EXPECT_EQ(a.ReleaseLock(), err::kNone);
    EXPECT_TRUE(first.event.WaitFor(500ms));
    EXPECT_EQ(a.LastError(), err::kAborted);
    EXPECT_EQ(a.ReleaseLock(), err::kNotOwner);
}

TEST_F(Worker, RequestsAreChecked) {
    TLCAObject client(worker_, Port("COM5"));
    OwnTask noData(TaskKind::Write, 0), noEvent(TaskKind::Write, 0);
    noData.task.data = nullptr;
    noEvent.task.event = nullptr;
    EXPECT_EQ(client.Submit(noData.task), err::kNoData);
    EXPECT_EQ(client.Submit(noEvent.task), err::kNoEvent);
    EXPECT_EQ(client.SetPriority(0), err::kBadPriority);
    EXPECT_EQ(TLCAObject(worker_, Port("COM5", 0)).OpenError(), err::kBadPriority);
    EXPECT_EQ(TLCAObject(nullptr, Port("COM5")).OpenError(), err::kNoWorker);
    EXPECT_EQ(TLCAObject(worker_, Port("COM250")).OpenError(), err::kPortAbsent);
    EXPECT_EQ(worker_->Close(MakeHandle(99, 1)), err::kBadHandle);
    worker_->Stop();
    TLCAHandle handle = kNoChannel;
    EXPECT_EQ(worker_->Open(Port("COM5"), handle), err::kNoWorker);
}

TEST_F(Worker, HigherPriorityGetsTheLineFirstAndKeepsItUntilReleased) {
    TLCAObject holder(worker_, Port("COM5", 1));
    TLCAObject low(worker_, Port("COM5", 1));
    TLCAObject high(worker_, Port("COM5", 5));
    const std::uint8_t mark = 'H';
    ASSERT_EQ(holder.Write(&mark, 1, 500), err::kNone);
    OwnTask lowTask(TaskKind::Write, 'L'), highTask(TaskKind::Write, 'P');
    ASSERT_EQ(low.Submit(lowTask.task), err::kNone);
    ASSERT_EQ(high.Submit(highTask.task), err::kNone);
    EXPECT_FALSE(lowTask.event.WaitFor(100ms));
    EXPECT_FALSE(highTask.event.IsSet());
    ASSERT_EQ(holder.ReleaseLock(), err::kNone);
    EXPECT_TRUE(highTask.event.WaitFor(500ms));
    EXPECT_FALSE(lowTask.event.WaitFor(100ms));
    EXPECT_EQ(high.ReleaseLock(), err::kNone);
    EXPECT_TRUE(lowTask.event.WaitFor(500ms));
    EXPECT_EQ(peer_.Receive(3), (Bytes{'H', 'P', 'L'}));
}

TEST_F(Worker, PriorityLockKeepsTheLineFromEqualPriorities) {
    TLCAObject locked(worker_, Port("COM5", 2));
    TLCAObject other(worker_, Port("COM5", 2));
    ASSERT_EQ(locked.SetPriorityLock(true), err::kNone);
    const std::uint8_t mark = 'A';
    ASSERT_EQ(locked.Write(&mark, 1, 500), err::kNone);
    ASSERT_EQ(locked.ReleaseLock(), err::kNone);
    OwnTask waiting(TaskKind::Write, 'B');
    ASSERT_EQ(other.Submit(waiting.task), err::kNone);
    EXPECT_FALSE(waiting.event.WaitFor(150ms));
    ASSERT_EQ(locked.Write(&mark, 1, 500), err::kNone);
    ASSERT_EQ(locked.SetPriorityLock(false), err::kNone);
    ASSERT_EQ(locked.ReleaseLock(), err::kNone);
    EXPECT_TRUE(waiting.event.WaitFor(500ms));
    EXPECT_EQ(peer_.Receive(3), (Bytes{'A', 'A', 'B'}));
}

TEST_F(Worker, EqualPrioritiesTakeTurns) {
    TLCAObject first(worker_, Port("COM5"));
    TLCAObject second(worker_, Port("COM5"));
    TLCAObject third(worker_, Port("COM5"));
    const std::uint8_t mark = '2';
    ASSERT_EQ(second.Write(&mark, 1, 500), err::kNone);
    OwnTask one(TaskKind::Write, '1'), three(TaskKind::Write, '3');
    ASSERT_EQ(first.Submit(one.task), err::kNone);
    ASSERT_EQ(third.Submit(three.task), err::kNone);
    ASSERT_EQ(second.ReleaseLock(), err::kNone);
    // Going round from the last owner, the third channel comes before the first.
    EXPECT_TRUE(three.event.WaitFor(500ms));
    EXPECT_FALSE(one.event.IsSet());
    ASSERT_EQ(third.ReleaseLock(), err::kNone);
    EXPECT_TRUE(one.event.WaitFor(500ms));
    EXPECT_EQ(peer_.Receive(3), (Bytes{'2', '3', '1'}));
}

TEST_F(Worker, ClosingAChannelEndsItsTask) {
    auto client = std::make_unique<TLCAObject>(worker_, Port("COM5"));
    OwnTask read(TaskKind::Read, 0, 5000);
    ASSERT_EQ(client->Submit(read.task), err::kNone);
    client.reset();
    EXPECT_TRUE(read.event.IsSet());
    EXPECT_EQ(read.task.state, TaskState::Done);
    // The line went with its last channel, so the port opens again.
    TLCAObject again(worker_, Port("COM5"));
    EXPECT_EQ(again.OpenError(), err::kNone);
}

TEST(WorkerTcp, ConnectsOnTheFirstTaskAndReportsALostConnection) {
    LoopbackListener server;
    auto worker = std::make_shared<TLCAThread>();
    TLCAObject client(worker, TcpDescription("127.0.0.1", server.port, {2, 1, 0}));
    ASSERT_EQ(client.OpenError(), err::kNone);
    const std::uint8_t ping[] = {'p'};
    ASSERT_EQ(client.Write(ping, 1, 500), err::kNone);
    const int peer = ::accept(server.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    std::uint8_t got = 0;
    EXPECT_EQ(::recv(peer, &got, 1, 0), 1);
    ::close(peer);
    std::uint8_t buffer[4];
    std::size_t received = 0;
    EXPECT_EQ(client.Read(buffer, 4, 1000, received), err::kConnectionLost);
}

TEST(WorkerTcp, SilentServerTimesOutLikeASerialLine) {
    LoopbackListener server;
    auto worker = std::make_shared<TLCAThread>();
    TLCAObject client(worker, TcpDescription("127.0.0.1", server.port, {1, 1, 0}));
    const std::uint8_t ping[] = {'p'};
    ASSERT_EQ(client.Write(ping, 1, 500), err::kNone);
    std::uint8_t buffer[4];
    std::size_t received = 0;
    const auto start = Clock::now();
    EXPECT_EQ(client.Read(buffer, 4, 300, received), err::kTimeout);
    EXPECT_GE(Clock::now() - start, 300ms);
}

TEST(WorkerTcp, ConnectionFailureFailsTheTaskAndIsLogged) {
    std::uint16_t unused = 0;
    {
        LoopbackListener closed;
        unused = closed.port;
    }
    std::vector<std::string> log;
    auto worker = std::make_shared<TLCAThread>([&log](const std::string& line) { log.push_back(line); });
    TLCAObject client(worker, TcpDescription("127.0.0.1", unused, {2, 1, 63}));
    const std::uint8_t ping[] = {'p'};
    EXPECT_EQ(client.Write(ping, 1, 500), err::kServerNotFound);
    worker->Stop();
    const std::string expected = "Соединение не установлено: " + PcaErrorText(err::kServerNotFound);
    EXPECT_NE(std::find_if(log.begin(), log.end(), [&](const auto& l) { return l.ends_with(expected); }), log.end());
}

}  // namespace
