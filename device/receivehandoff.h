#ifndef RECEIVEHANDOFF_H
#define RECEIVEHANDOFF_H

#include <QtGlobal>

#include <atomic>

// Passes the latest completed read from one producer thread to one consumer
// thread without a lock and without copying. Three buffers rotate: the
// producer fills one, one holds the latest complete read, the consumer reads
// the third. The producer never waits, and a slow consumer skips straight to
// the latest read; reads it did not take are merged into that one.
class ReceiveHandoff
{
public:
    static constexpr int BufferSize = 16384;

    ReceiveHandoff();
    ReceiveHandoff(const ReceiveHandoff &) = delete;
    ReceiveHandoff &operator=(const ReceiveHandoff &) = delete;

    // Producer side. The next read lands in producerBuffer(); publish() hands
    // its first `count` bytes over as the latest read and returns the buffer
    // for the read after it.
    unsigned char *producerBuffer() const;
    unsigned char *publish(int count);

    // Consumer side. take() moves the latest read into the consumer's hands
    // if one was published since the last take, and says whether it did.
    // The consumer's buffer and count stay as they are until the next take.
    bool take();
    const unsigned char *consumerBuffer() const;
    int consumerCount() const;
    void clearConsumerBuffer();

    // Reads published so far; readable from any thread.
    quint64 publishedCount() const;

private:
    // The middle slot's index, with this bit set while it holds a read the
    // consumer has not taken.
    static constexpr unsigned FreshBit = 4;
    static constexpr unsigned IndexMask = 3;

    unsigned char buffers[3][BufferSize];
    int counts[3];
    unsigned producerIndex;
    unsigned consumerIndex;
    std::atomic<unsigned> middle;
    std::atomic<quint64> published;
};

#endif // RECEIVEHANDOFF_H
