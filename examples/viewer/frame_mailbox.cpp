#include "frame_mailbox.h"

namespace viewer {

void FrameMailbox::Publish() {
    // acq_rel: the picture's bytes are visible to whoever takes this slot,
    // and the slot handed back is no longer read by the consumer.
    const unsigned previous = middle_.exchange(producer_ | kFresh, std::memory_order_acq_rel);
    producer_ = previous & ~kFresh;
    published_.fetch_add(1);
    if (previous & kFresh) dropped_.fetch_add(1);
}

const Picture* FrameMailbox::TakeNewest() {
    if (!(middle_.load(std::memory_order_acquire) & kFresh)) return nullptr;
    const unsigned previous = middle_.exchange(consumer_, std::memory_order_acq_rel);
    consumer_ = previous & ~kFresh;
    taken_.fetch_add(1);
    return &slots_[consumer_];
}

}  // namespace viewer
