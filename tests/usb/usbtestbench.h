#pragma once
#include "profilefolder.h"
#include "simulatedinstrument.h"
#include "veskinterface.h"

#include <QCoreApplication>
#include <QSettings>
#include <memory>
#include <string>

// What a test of the window against the simulated instrument stands on: the
// working folder with the hardware profile, the instrument and the window.
struct UsbTestBench
{
    ProfileFolder profileFolder;
    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<VeskInterface> window;

    // The connection attempt reads the hardware profile from the working folder.
    bool enterProfileFolder() { return profileFolder.enter(); }

    // A fresh settings store and a newly plugged instrument.
    bool plugInstrument(std::string *error)
    {
        QSettings settings;
        settings.clear();
        settings.sync();
        instrument.reset(new SimulatedInstrument);
        return instrument->start(error);
    }

    // A window whose transport is open (by its own attempt, or here), with
    // the meter poll stopped and the wire log emptied.
    bool openWindow()
    {
        window.reset(new VeskInterface);
        QCoreApplication::processEvents();
        if (!window->libUsbDevice.connected) {
            window->libUsbDevice.initializeDevice();
            window->libUsbDevice.openDevice();
        }
        if (!window->libUsbDevice.connected)
            return false;
        window->meterTimer.stop();
        instrument->clearWireLog();
        return true;
    }

    // Every libusb handle closed before the instrument goes.
    void unplugAll()
    {
        if (window)
            window->libUsbDevice.closeDevice();
        window.reset();
        instrument.reset();
    }
};
