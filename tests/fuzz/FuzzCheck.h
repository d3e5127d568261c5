#pragma once

// A broken invariant stops the fuzzer; the stack it prints names the check.
#define FUZZ_CHECK(condition) ((condition) ? void() : __builtin_trap())
