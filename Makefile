# Thin wrapper: `make test` and `make run` work on a fresh Debian/Ubuntu machine.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENLOW_WERROR=ON

.PHONY: deps configure build test run clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	scripts/check-format
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE soak_long
	JOBS=$(JOBS) scripts/wine-tests
	JOBS=$(JOBS) scripts/sanitize-tests
	JOBS=$(JOBS) scripts/fuzz 30

run: build
	scripts/demo $(BUILD)

clean:
	rm -rf $(BUILD)
