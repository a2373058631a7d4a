// The protocol sniffer's view of the receive buffer.
#include "veskinterface.h"

void VeskInterface::sniffDataShow()
{
    // Reading sniffer frames comes with the protocol sniffer.
}
