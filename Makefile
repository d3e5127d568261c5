# Thin wrapper: `make test` and `make run` work on a fresh Debian/Ubuntu machine.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENLOW_WERROR=ON

WIN_BUILD ?= build-win

.PHONY: deps configure build test run windows deb clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	scripts/check-format
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE soak_long
	JOBS=$(JOBS) scripts/wine-tests $(WIN_BUILD)
	JOBS=$(JOBS) scripts/sanitize-tests
	JOBS=$(JOBS) scripts/fuzz 30

run: build
	scripts/demo $(BUILD)

# The Debian package in dist/, built for prefix /usr in $(DEB_BUILD).
DEB_BUILD ?= build-deb
deb: deps
	cmake -S . -B $(DEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
		-DBRENLOW_TESTS=OFF -DBRENLOW_BENCH=OFF -DBRENLOW_WERROR=ON
	cmake --build $(DEB_BUILD) -j$(JOBS)
	cd $(DEB_BUILD) && cpack -G DEB >/dev/null
	scripts/checksums dist
	@ls dist/brenlow_*_amd64.deb dist/SHA256SUMS

# Brenlow.exe and brenlow-dump.exe in $(WIN_BUILD); the zip and the installer in dist/.
windows: deps
	scripts/configure-windows $(WIN_BUILD)
	cmake --build $(WIN_BUILD) -j$(JOBS) --target brenlow brenlow-dump brenlow_setup
	cd $(WIN_BUILD) && cpack -G ZIP >/dev/null
	scripts/checksums dist
	@ls dist/Brenlow-*-win64.zip dist/Brenlow-*-setup.exe dist/SHA256SUMS

clean:
	rm -rf $(BUILD) $(WIN_BUILD) $(DEB_BUILD) dist
