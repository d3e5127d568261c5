#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "settings/SettingsStore.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TestPort.h"

// What every test of the monitor starts from: a private registry with the company name set,
// and a test port as COM7, stored as the port to use at 38,400 baud.
struct MonitorPort {
    static constexpr int kNumber = 7;

    // From SetUp, under ASSERT_TRUE: false when any of it could not be made.
    bool Make() {
        if (!sandbox.Ready())
            return false;
        SetRegistryCompanyName("Veltmark");
        port = std::make_unique<TestPort>(kNumber);
        return port->Ok() && Store("Port Number", kNumber) && Store("Baud Rate", 38400);
    }
    bool Send(const std::string& text) { return port->Write(text.data(), text.size()); }
    static bool Store(const char* name, uint32_t value) {
        SettingsScope scope;
        return WriteDword("AIS Unit", name, value);
    }
    static uint32_t Stored(const char* name) {
        SettingsScope scope;
        return ReadDword("AIS Unit", name, 0xFFFFFFFF);
    }

    RegistrySandbox sandbox;  // first: the port is mapped inside it
    std::unique_ptr<TestPort> port;
};
