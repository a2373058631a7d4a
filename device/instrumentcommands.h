#ifndef INSTRUMENTCOMMANDS_H
#define INSTRUMENTCOMMANDS_H

#include "protocol.h"

#include <functional>

class LibUsbDevice;

// The writers of the instrument's configuration items, and the two bulk
// records they fill. While collecting, 'A' and 'F' writes are stored in the
// settings block instead of going to the wire; 'B' always goes out.
// The settings block and the custom wave are separate buffers, so collecting
// a block never touches a loaded wave. The block keeps its previous contents
// between collections: slots no writer touches are sent as they were.
class InstrumentCommands
{
public:
    explicit InstrumentCommands(LibUsbDevice &transport);

    // 'A' REQ_SET_CONFIG, or a store into the settings block while collecting.
    void sendMainConfiguration(unsigned char index, int value);
    // 'B' REQ_SET_CONFIG_CONFIRM: reply byte 0 (the status), or -1 without
    // a two-byte reply. Never collected.
    int sendMainConfigurationConfirm(unsigned char *reply, int replyLength, unsigned char index, int value);
    // 'F' REQ_SET_AWG_FREQUENCY (value in 0.01 Hz), or a store into slot 34
    // while collecting.
    void sendMainConfigurationFrequency(unsigned char index, long long value);

    // The whole reaction to a 'B' write: on "not enough buffer memory" the
    // oscilloscope buffer is shrunk to what the instrument offers (through
    // shrinkScopeBuffer, given 1..15 blocks) and the request is repeated
    // once. Accepted when the caller may go on with its own work; Refused
    // only after the retry was turned down too (the buffer stays shrunk:
    // giving it back is the caller's); NoReply when a transfer failed or the
    // reply had the wrong length.
    using ScopeBufferShrink = std::function<void(int blocks)>;
    enum class ConfirmResult { Accepted, Refused, NoReply };
    ConfirmResult sendConfirmed(unsigned char index, int value, const ScopeBufferShrink &shrinkScopeBuffer);

    void setBulkCollectMode(bool on) { bulkCollectMode = on; }
    bool isBulkCollectMode() const { return bulkCollectMode; }

    // Logs the collected items and sends the settings block as one bulk
    // block; the commit request follows once collecting has ended.
    void sendSettingsBlock();
    // The custom wave's two bulk blocks, each followed at once by its commit;
    // firstHalfSent runs between them. False as soon as a block or a commit
    // fails (the rest is not sent).
    bool sendCustomWave(const std::function<void()> &firstHalfSent = {});

    const settingsblock_t &settingsBlock() const { return block; }
    // Configuration item `index` as collected (host order).
    int settingsSlot(int index) const;
    // Filled by the custom-wave loader.
    customwave_t customWave;

private:
    bool storeInBlock(int slot, int value);
    bool sendBlockAndCommit(const void *data, unsigned short commitCode);

    LibUsbDevice &transport;
    settingsblock_t block;
    bool bulkCollectMode = false;
};

#endif // INSTRUMENTCOMMANDS_H
