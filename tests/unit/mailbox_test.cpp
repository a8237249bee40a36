#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/mailbox.h"

namespace {

using namespace std::chrono_literals;

// Stands in for the user-program thread: serves requests until told to stop.  Each serve is
// delayed a little so that posters really have to wait.
class Server {
public:
    explicit Server(std::chrono::milliseconds delay = 2ms) : delay_(delay)
    {
        thread_ = std::thread([this] {
            while (!stop_) {
                if (RequestMailbox.code != 0) {
                    std::this_thread::sleep_for(delay_);
                    RunPendingRequest();
                }
                std::this_thread::yield();
            }
        });
    }
    ~Server()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::chrono::milliseconds delay_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::vector<int> served;        // codes in the order their work ran
std::vector<int> servedSlots;   // the slot field each work saw
std::atomic<bool> serverAlive{true};
void (*nestedAction)() = nullptr;

void RecordWork(MailboxFields& request)
{
    served.push_back(request.code);
    servedSlots.push_back(request.slot);
    request.result = request.slot * 10;
}

void Pump()
{
    if (nestedAction) {
        auto action = nestedAction;
        nestedAction = nullptr;  // one nested command, not one per pump
        action();
    }
    std::this_thread::yield();
}
bool CanServe() { return serverAlive; }

class MailboxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetMailbox();
        for (RequestWork& work : RequestWorkTable)
            work = RecordWork;
        served.clear();
        servedSlots.clear();
        serverAlive = true;
        nestedAction = nullptr;
        SetMailboxWaitHooks({Pump, CanServe});
    }
    void TearDown() override
    {
        for (RequestWork& work : RequestWorkTable)
            work = nullptr;
        SetMailboxWaitHooks({nullptr, nullptr});
    }
};

TEST_F(MailboxTest, FirstRequestWaitsForItsOwnDoneAlthoughDoneStartsAtOne)
{
    ASSERT_EQ(RequestMailbox.done, 1);
    Server server(20ms);
    RequestArgs args;
    args.slot = 7;
    ASSERT_TRUE(PostRequest(RequestCreateImage, args));
    // Returned only after the work ran, with the work's result in place.
    ASSERT_EQ(served.size(), 1u);
    EXPECT_EQ(served[0], RequestCreateImage);
    EXPECT_EQ(RequestMailbox.result, 70);
    EXPECT_EQ(RequestMailbox.code, 0);
    EXPECT_EQ(RequestMailbox.done, 1);
}

TEST_F(MailboxTest, PostersInSuccessionEachSeeTheirOwnFields)
{
    Server server;
    for (int slot = 0; slot < 20; ++slot) {
        RequestArgs args;
        args.slot = slot;
        ASSERT_TRUE(PostRequest(kFirstRequestCode + slot % kRequestCodeCount, args));
        EXPECT_EQ(RequestMailbox.result, slot * 10);
    }
    ASSERT_EQ(servedSlots.size(), 20u);
    for (int slot = 0; slot < 20; ++slot) {
        EXPECT_EQ(servedSlots[slot], slot);
        EXPECT_EQ(served[slot], kFirstRequestCode + slot % kRequestCodeCount);
    }
}

TEST_F(MailboxTest, NestedPosterWaitsUntilTheFirstRequestIsFinished)
{
    Server server(20ms);
    bool nestedDone = false;
    static bool* nestedDoneFlag;
    nestedDoneFlag = &nestedDone;
    // A second command arrives while the first poster waits for its request.
    nestedAction = [] {
        RequestArgs inner;
        inner.slot = 2;
        *nestedDoneFlag = PostRequest(RequestOpenTextWindow, inner);
    };
    RequestArgs outer;
    outer.slot = 1;
    ASSERT_TRUE(PostRequest(RequestCreateImage, outer));
    EXPECT_TRUE(nestedDone);
    ASSERT_EQ(served.size(), 2u);
    EXPECT_EQ(served[0], RequestCreateImage);
    EXPECT_EQ(servedSlots[0], 1);
    EXPECT_EQ(served[1], RequestOpenTextWindow);
    EXPECT_EQ(servedSlots[1], 2);
}

TEST_F(MailboxTest, PosterGivesUpOnceTheServerCannotServe)
{
    // No server at all, and Exit has begun: the poster must not wait forever.
    serverAlive = false;
    RequestArgs args;
    EXPECT_FALSE(PostRequest(RequestRefreshImage, args));
    EXPECT_TRUE(served.empty());
    // A later poster finds the slot still taken and gives up at once as well.
    EXPECT_FALSE(PostRequest(RequestRefreshImage, args));
}

TEST_F(MailboxTest, PosterWaitingForDoneGivesUpWhenTheServerEnds)
{
    std::thread ender([] {
        std::this_thread::sleep_for(30ms);
        serverAlive = false;  // the thread ended without serving
    });
    RequestArgs args;
    EXPECT_FALSE(PostRequest(RequestLoadImage, args));
    ender.join();
    EXPECT_TRUE(served.empty());
}

TEST_F(MailboxTest, UnknownCodesAndEmptyWorkStillComplete)
{
    RequestWorkTable[RequestPasteBitmap - kFirstRequestCode] = nullptr;
    Server server;
    RequestArgs args;
    EXPECT_TRUE(PostRequest(RequestPasteBitmap, args));
    EXPECT_TRUE(served.empty());
}

}  // namespace
