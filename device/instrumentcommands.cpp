#include "instrumentcommands.h"

#include "libusbdevice.h"
#include "log.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

InstrumentCommands::InstrumentCommands(LibUsbDevice &transport)
    : transport(transport)
{
    std::memset(&block, 0, sizeof(block));
    std::memset(&customWave, 0, sizeof(customWave));
}

int InstrumentCommands::settingsSlot(int index) const
{
    if (index < 0 || index >= SETTINGS_SLOT_COUNT)
        return 0;
    return qFromLittleEndian(block.slot[index]);
}

bool InstrumentCommands::storeInBlock(int slot, int value)
{
    if (slot >= SETTINGS_SLOT_COUNT) {
        logRecord(QStringLiteral("Bulk write to USB: index(%1) is outside the settings block, ignored").arg(slot), 2);
        return false;
    }
    block.slot[slot] = qToLittleEndian(qint32(value));
    return true;
}

void InstrumentCommands::sendMainConfiguration(unsigned char index, int value)
{
    if (bulkCollectMode) {
        if (storeInBlock(index, value))
            logRecord(QStringLiteral("Bulk write to USB: index(%1) value:%2").arg(index).arg(value), 0);
        return;
    }
    if (!transport.connected)
        return;
    transport.controlWriteTransfer(REQ_SET_CONFIG, index, static_cast<unsigned short>(value & 0xFFFF));
    logRecord(QStringLiteral("Write to USB: index(%1) value:%2").arg(index).arg(value), 0);
}

int InstrumentCommands::sendMainConfigurationConfirm(unsigned char *reply, int replyLength, unsigned char index, int value)
{
    if (!transport.connected || !reply || replyLength < REPLY_CONFIRM_LENGTH)
        return -1;
    const int received = transport.controlReadTransfer(REQ_SET_CONFIG_CONFIRM, reply, replyLength, index,
                                                       static_cast<unsigned short>(value & 0xFFFF));
    if (received != REPLY_CONFIRM_LENGTH) {
        // A failed transfer was logged by the transport; a short or long
        // reply is the instrument's, and no refusal.
        if (received >= 0)
            logRecord(QStringLiteral("Confirmed write of index %1: reply of %2 bytes, %3 expected")
                                         .arg(index)
                                         .arg(received)
                                         .arg(REPLY_CONFIRM_LENGTH),
                                     2);
        return -1;
    }
    logRecord(QStringLiteral("Write to USB: index(%1) value:%2, return:%3").arg(index).arg(value).arg(reply[0]), 0);
    return reply[0];
}

void InstrumentCommands::sendMainConfigurationFrequency(unsigned char index, long long value)
{
    Q_UNUSED(index) // the frequency has one slot and no index on the wire
    if (bulkCollectMode) {
        storeInBlock(CFG_WAVE_FREQUENCY, int(quint32(value)));
        logRecord(QStringLiteral("Bulk write to USB: index(%1) value:%2").arg(int(CFG_WAVE_FREQUENCY)).arg(value), 0);
        return;
    }
    if (!transport.connected)
        return;
    transport.controlWriteTransfer(REQ_SET_AWG_FREQUENCY, static_cast<unsigned short>(value & 0xFFFF),
                                   static_cast<unsigned short>((value >> 16) & 0xFFFF));
    logRecord(QStringLiteral("Write to USB: Send Frequency value:%1").arg(value), 0);
}

InstrumentCommands::ConfirmResult InstrumentCommands::sendConfirmed(unsigned char index, int value,
                                                                   const ScopeBufferShrink &shrinkScopeBuffer)
{
    unsigned char reply[REPLY_CONFIRM_LENGTH] = {0, 0};
    const int status = sendMainConfigurationConfirm(reply, REPLY_CONFIRM_LENGTH, index, value);
    if (status < 0)
        return ConfirmResult::NoReply;
    if (status != CONFIRM_NO_MEMORY)
        return ConfirmResult::Accepted;
    logRecord(QStringLiteral("No enough memory for CH buffer: %1").arg(reply[1]), 0);
    if (shrinkScopeBuffer)
        shrinkScopeBuffer(std::clamp(int(reply[1]), CH_BLOCKS_MIN, CH_BLOCKS_MAX));
    const int retry = sendMainConfigurationConfirm(reply, REPLY_CONFIRM_LENGTH, index, value);
    if (retry < 0)
        return ConfirmResult::NoReply;
    return retry == CONFIRM_ACCEPTED ? ConfirmResult::Accepted : ConfirmResult::Refused;
}

void InstrumentCommands::sendSettingsBlock()
{
    logRecord(QStringLiteral("Finish prepare configuration, now send buffer as AWG"), 0);
    for (int i = 0; i < CFG_COUNT; ++i)
        logRecord(QStringLiteral(">> buffer: index[%1] value:%2").arg(i).arg(settingsSlot(i) & 0xFF), 0);
    transport.bulkWriteTransfer(reinterpret_cast<const unsigned char *>(&block), BULK_BLOCK_SIZE);
}

bool InstrumentCommands::sendBlockAndCommit(const void *data, unsigned short commitCode)
{
    return transport.bulkWriteTransfer(static_cast<const unsigned char *>(data), BULK_BLOCK_SIZE) == BULK_BLOCK_SIZE
           && transport.controlWriteTransfer(REQ_COMMIT_BULK, commitCode, 0) >= 0;
}

bool InstrumentCommands::sendCustomWave(const std::function<void()> &firstHalfSent)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(&customWave);
    if (!sendBlockAndCommit(bytes, BULK_WAVE_FIRST_HALF))
        return false;
    if (firstHalfSent)
        firstHalfSent();
    return sendBlockAndCommit(bytes + BULK_BLOCK_SIZE, BULK_WAVE_SECOND_HALF);
}
