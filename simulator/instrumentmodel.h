#ifndef INSTRUMENTMODEL_H
#define INSTRUMENTMODEL_H

// The simulated instrument behind the USB wire: answers the vendor requests
// of the command set, keeps the configuration the host writes (single items
// and committed settings blocks), the buffer-memory budget, and decides what
// the bulk IN endpoint streams. Not thread-safe: the owner serialises calls.

#include "instrumentconfig.h"
#include "meterreading.h"
#include "scopeacquisition.h"
#include "signalsource.h"
#include "sniffercapture.h"

#include <cstdint>
#include <string>
#include <vector>

class InstrumentModel
{
public:
    struct Reply
    {
        bool stall = false;
        std::vector<uint8_t> data;   // IN data; empty for the writes
    };

    InstrumentModel();
    InstrumentModel(const InstrumentModel &) = delete;
    InstrumentModel &operator=(const InstrumentModel &) = delete;

    // The state after power-up; the custom wave survives (kept in EEPROM).
    void powerOn();

    Reply vendorRequest(uint8_t request, uint16_t value, uint16_t index, int64_t nowUs);
    // A block received on the bulk OUT endpoint; a commit request uses it.
    void bulkOut(const uint8_t *data, size_t size);

    // Whether the bulk IN endpoint has anything to stream in this state, and
    // when the next frame should be tried.
    bool streaming() const;
    int64_t nextFrameUs() const;
    // The next frame, or false when there is none yet (e.g. no trigger).
    bool takeFrame(int64_t nowUs, std::vector<uint8_t> *frame);

    void setIdentification(const std::string &text) { m_identification = text; }
    void setIdentificationLength(int bytes) { m_identificationLength = bytes; }
    void setMeterReplyLength(int bytes) { m_meter.setReplyLength(bytes); }
    void setHealthMask(uint8_t mask) { m_healthMask = mask; }
    void setBufferBudget(int blocks) { m_bufferBudget = blocks; }
    void setConfirmRefused(bool refused) { m_confirmRefused = refused; }
    void setConfirmReplyLength(int bytes) { m_confirmReplyLength = bytes; }
    void setPaced(bool paced);

    const InstrumentConfig &config() const { return m_config; }
    const std::vector<int16_t> &customWave() const { return m_customWave; }
    bool scopeRunning() const { return m_scope.running(); }
    bool snifferRunning() const { return m_sniffer.running(); }
    bool counterRunning() const { return m_meter.counterRunning(); }

private:
    Reply read(uint16_t index, int64_t nowUs) const;
    Reply confirmedWrite(uint16_t index, uint16_t value);
    bool runControl(uint16_t code, int64_t nowUs);
    bool commit(uint16_t code);
    void setItem(int index, uint16_t wireValue);
    int blocksInUse(const InstrumentConfig &config) const;
    int channelBlocksAvailable(const InstrumentConfig &config) const;
    int dacBlocksAvailable() const;

    InstrumentConfig m_config;
    std::vector<int16_t> m_customWave;
    SignalSource m_signals;
    ScopeAcquisition m_scope;
    SnifferCapture m_sniffer;
    MeterReading m_meter;
    std::vector<uint8_t> m_bulkBlock;

    std::string m_identification;
    int m_identificationLength = REPLY_DEVICE_INFO_LENGTH;
    uint8_t m_healthMask = 0xFF;
    int m_bufferBudget = 47;
    bool m_confirmRefused = false;
    int m_confirmReplyLength = REPLY_CONFIRM_LENGTH;
};

#endif // INSTRUMENTMODEL_H
