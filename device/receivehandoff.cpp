#include "receivehandoff.h"

#include <algorithm>
#include <cstring>

ReceiveHandoff::ReceiveHandoff()
    : counts{0, 0, 0}
    , producerIndex(0)
    , consumerIndex(2)
    , middle(1)
    , published(0)
{
    std::memset(buffers, 0, sizeof(buffers));
}

unsigned char *ReceiveHandoff::producerBuffer() const
{
    return const_cast<unsigned char *>(buffers[producerIndex]);
}

unsigned char *ReceiveHandoff::publish(int count)
{
    counts[producerIndex] = std::clamp(count, 0, BufferSize);
    // Release: the bytes and the count become visible with the index.
    const unsigned previous = middle.exchange(producerIndex | FreshBit, std::memory_order_acq_rel);
    producerIndex = previous & IndexMask;
    published.fetch_add(1, std::memory_order_relaxed);
    return buffers[producerIndex];
}

bool ReceiveHandoff::take()
{
    if (!(middle.load(std::memory_order_relaxed) & FreshBit))
        return false;
    const unsigned latest = middle.exchange(consumerIndex, std::memory_order_acq_rel);
    consumerIndex = latest & IndexMask;
    return true;
}

const unsigned char *ReceiveHandoff::consumerBuffer() const
{
    return buffers[consumerIndex];
}

int ReceiveHandoff::consumerCount() const
{
    return counts[consumerIndex];
}

void ReceiveHandoff::clearConsumerBuffer()
{
    std::memset(buffers[consumerIndex], 0, BufferSize);
}

quint64 ReceiveHandoff::publishedCount() const
{
    return published.load(std::memory_order_relaxed);
}
