#pragma once
#include "simulatedinstrument.h"
#include "testmain.h"

// VESK_TEST_MAIN for tests that talk to the simulated instrument: before
// main() runs (no thread, no Qt, no libusb yet) the process re-executes
// itself with the umockdev preload in place.
#define VESK_USB_TEST_MAIN(TestObject)                                               \
    static const bool veskUsbPreloaded = SimulatedInstrument::ensurePreloaded();     \
    VESK_TEST_MAIN(TestObject)
