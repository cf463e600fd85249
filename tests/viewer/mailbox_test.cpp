#include <gtest/gtest.h>

#include <thread>

#include "frame_mailbox.h"

namespace viewer {
namespace {

void Post(FrameMailbox& mailbox, uint32_t sequence) {
    Picture& p = mailbox.Fill();
    p.sequence = sequence;
    p.bytes.assign(64, static_cast<uint8_t>(sequence));
    mailbox.Publish();
}

TEST(ViewerMailbox, NothingToTakeBeforeTheFirstPicture) {
    FrameMailbox mailbox;
    EXPECT_EQ(mailbox.TakeNewest(), nullptr);
}

TEST(ViewerMailbox, NewestPictureWinsAndTheOthersCountAsDropped) {
    FrameMailbox mailbox;
    Post(mailbox, 1);
    Post(mailbox, 2);
    Post(mailbox, 3);
    const Picture* p = mailbox.TakeNewest();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->sequence, 3u);
    EXPECT_EQ(mailbox.TakeNewest(), nullptr);  // taken once only
    EXPECT_EQ(mailbox.published(), 3u);
    EXPECT_EQ(mailbox.dropped(), 2u);
    EXPECT_EQ(mailbox.taken(), 1u);
}

TEST(ViewerMailbox, PictureTakenStaysIntactWhileTheProducerGoesOn) {
    FrameMailbox mailbox;
    Post(mailbox, 1);
    const Picture* held = mailbox.TakeNewest();
    for (uint32_t s = 2; s < 10; ++s) Post(mailbox, s);
    EXPECT_EQ(held->sequence, 1u);
    EXPECT_EQ(held->bytes, std::vector<uint8_t>(64, 1));
    EXPECT_EQ(mailbox.TakeNewest()->sequence, 9u);
    EXPECT_EQ(mailbox.dropped(), 7u);
}

TEST(ViewerMailbox, EveryPictureTakenWhenTheConsumerKeepsUp) {
    FrameMailbox mailbox;
    for (uint32_t s = 1; s <= 5; ++s) {
        Post(mailbox, s);
        ASSERT_EQ(mailbox.TakeNewest()->sequence, s);
    }
    EXPECT_EQ(mailbox.dropped(), 0u);
    EXPECT_EQ(mailbox.taken(), 5u);
}

// A producer much faster than the consumer: every picture taken is whole
// (all its bytes from one frame), newer than the last one taken, and every
// picture published is either taken, dropped, or the one still waiting.
TEST(ViewerMailbox, FastProducerNeverTearsAndEveryPictureIsAccountedFor) {
    FrameMailbox mailbox;
    constexpr uint32_t kFrames = 20000;
    std::thread producer([&] {
        for (uint32_t s = 1; s <= kFrames; ++s) {
            Picture& p = mailbox.Fill();
            p.sequence = s;
            p.bytes.assign(4096, static_cast<uint8_t>(s));
            mailbox.Publish();
        }
    });
    uint32_t last = 0;
    bool torn = false, backwards = false;
    while (last < kFrames) {
        const Picture* p = mailbox.TakeNewest();
        if (!p) {
            std::this_thread::yield();
            continue;
        }
        backwards |= p->sequence <= last;
        for (uint8_t b : p->bytes) torn |= b != static_cast<uint8_t>(p->sequence);
        last = p->sequence;
    }
    producer.join();
    EXPECT_FALSE(torn);
    EXPECT_FALSE(backwards);
    EXPECT_EQ(mailbox.published(), kFrames);
    EXPECT_EQ(mailbox.taken() + mailbox.dropped(), kFrames);  // the last one was taken
}

}  // namespace
}  // namespace viewer
