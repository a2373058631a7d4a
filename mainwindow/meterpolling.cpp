// Polling the instrument's measurement reply while a meter page is shown.
#include "veskinterface.h"

void VeskInterface::meterRequestData()
{
    // The meter poll comes with the meter and counter.
}
