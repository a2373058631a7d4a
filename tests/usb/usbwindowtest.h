#pragma once
#include "usbtestbench.h"

#include <QObject>
#include <QTest>
#include <string>

// Base of the tests of the window against the simulated instrument: each test
// function starts with a fresh store and a newly plugged instrument (and an
// open window where the test asks for one) and ends with every handle closed
// before the instrument goes.
class UsbWindowTest : public QObject, protected UsbTestBench
{
    Q_OBJECT

public:
    explicit UsbWindowTest(bool opensWindow = false) : opensWindow(opensWindow) {}

protected:
    bool plugFreshInstrument()
    {
        std::string error;
        const bool plugged = plugInstrument(&error);
        if (!plugged)
            qWarning("Cannot plug the simulated instrument: %s", error.c_str());
        return plugged;
    }

private:
    const bool opensWindow;

private slots:
    void initTestCase() { QVERIFY(enterProfileFolder()); }

    void init()
    {
        QVERIFY(plugFreshInstrument());
        if (opensWindow)
            QVERIFY(openWindow());
    }

    void cleanup() { unplugAll(); }
};
