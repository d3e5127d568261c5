#pragma once

#include <string>

#include "app/Reception.h"
#include "serial/SerialLink.h"

// What the port box's tooltip says of the link's port: the device behind the number, why a
// closed port is closed or what an open one hears, and a setting that could not be stored.
// Lines are separated by LF.
std::string PortStateText(const SerialLink& link, const Reception& reception,
                          Reception::Clock::time_point now);

// The device behind COM port `port`; empty when the number is not mapped.
std::string PortDevice(int port);

// Why the link's port is closed, in plain words; empty while it is open or none is set.
std::string ClosedReason(const SerialLink& link);
