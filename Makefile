# Aspirello: build, test and try the gauge. Every target installs what it
# needs first (Debian packages, through sudo when not root).

# QT=6 builds with Qt 6 instead of Qt 5, into folders of its own (build-qt6,
# build-qt6-sanitize, build-qt6-fuzz), so that the two builds live side by side.
QT ?= 5
ifeq ($(QT),5)
  QT_SUFFIX :=
  QT_DEPS :=
else ifeq ($(QT),6)
  QT_SUFFIX := -qt6
  QT_DEPS := qt6
else
  $(error QT must be 5 or 6, not '$(QT)')
endif

BUILD_DIR ?= build$(QT_SUFFIX)
SANITIZE_DIR ?= build$(QT_SUFFIX)-sanitize
FUZZ_DIR ?= build$(QT_SUFFIX)-fuzz
NOTESTS_DIR ?= build$(QT_SUFFIX)-notests
SCREENSHOT ?= docs/screenshot.png
BUILD_TYPE ?= RelWithDebInfo
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DASPIRELLO_WERROR=$(WERROR) -DASPIRELLO_QT_MAJOR=$(QT)
# The board's sensor type (MPX4115A, the default, or MPX4250AP), kept once given.
ifdef SENSOR
  CMAKE_FLAGS += -DASPIRELLO_BOARD_SENSOR=$(SENSOR)
endif
# The board's serial port for make flash, and its bootloader's speed.
PORT ?=
FLASH_BAUD ?= 115200

.PHONY: all build build-notests deps configure test check-format run demo screenshot package check-package \
  icons sanitize fuzz bench firmware flash clean

all: build

# DEPS_EXTRAS: the tool sets a target needs besides (install-deps.sh names them).
deps:
	@scripts/install-deps.sh $(DEPS_EXTRAS) $(QT_DEPS)

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The programs alone, configured as on Windows: without the tests (and so
# without Qt Test), in a folder of their own.
build-notests: deps
	@cmake -S . -B $(NOTESTS_DIR) $(CMAKE_FLAGS) -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(NOTESTS_DIR) -j $(JOBS)

# Every test, headless. The tools the tests check the packaging files with
# are installed with the rest, before the build looks for them.
test: DEPS_EXTRAS += test
test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The code style: every C++ source as .clang-format wants it.
check-format:
	@scripts/install-deps.sh format
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# The measuring board's firmware: $(BUILD_DIR)/firmware/aspirello-board.elf
# and .hex, for the sensor type SENSOR.
firmware: configure
	@cmake --build $(BUILD_DIR) --target firmware

# Flashes it onto a Nano or Uno through its bootloader:
# make flash PORT=/dev/ttyUSB0 [FLASH_BAUD=57600 for the old Nano bootloader].
flash: firmware
	@scripts/flash.sh $(BUILD_DIR)/firmware/aspirello-board.hex "$(PORT)" "$(FLASH_BAUD)"

# The program itself, on the serial ports present.
run: build
	@$(BUILD_DIR)/Aspirello

# The gauge on the simulated measuring board, built with a short progress;
# DEMO_ARGS go to the demo (DEMO_ARGS=--firmware: on the board's own firmware).
demo: configure
	@scripts/build-quietly.sh $(BUILD_DIR) $(JOBS) Aspirello-demo
	@scripts/demo.sh $(BUILD_DIR) $(DEMO_ARGS)

# The README's picture, made by the demo itself: on a virtual X display (the
# desktop's fonts), or headless where Xvfb cannot be installed.
screenshot: configure
	@scripts/install-deps.sh screenshot $(QT_DEPS)
	@scripts/build-quietly.sh $(BUILD_DIR) $(JOBS) Aspirello-demo
	@if command -v xvfb-run >/dev/null; then \
	  xvfb-run -a -s '-screen 0 1400x1000x24' \
	    $(BUILD_DIR)/Aspirello-demo --auto --screenshot $(SCREENSHOT) --frames 150; \
	else \
	  QT_QPA_PLATFORM=offscreen \
	    $(BUILD_DIR)/Aspirello-demo --auto --screenshot $(SCREENSHOT) --frames 150; \
	fi

# The Debian package: $(BUILD_DIR)/aspirello_<version>_<arch>.deb.
package: build
	@scripts/install-deps.sh package $(QT_DEPS)
	@cd $(BUILD_DIR) && cpack -G DEB

# The package checked as a user gets it: lintian, apt install, the installed
# demo's headless picture, apt remove (as root).
check-package: package
	@scripts/check-package.sh $(BUILD_DIR)

# The icon's PNG sizes and .ico, rendered again from its SVG.
icons:
	@scripts/install-deps.sh icons
	@packaging/make-icons.sh

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	@scripts/install-deps.sh sanitize test $(QT_DEPS)
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DASPIRELLO_WERROR=$(WERROR) \
	  -DASPIRELLO_QT_MAJOR=$(QT) -DASPIRELLO_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# libFuzzer on the frame decoder, the settings encoder and the log line.
fuzz:
	@scripts/install-deps.sh fuzz $(QT_DEPS)
	@scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(QT)

# Speed and memory figures (not part of the tests). The painting is measured
# on a virtual X server, which the benchmark starts itself.
bench: configure
	@scripts/install-deps.sh bench $(QT_DEPS)
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target bench_pipeline bench_endtoend bench_display \
	  bench_board bench_openlog bench_analysis_window bench_firmware bench_live bench_enginespeed
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_pipeline
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_endtoend
	@$(BUILD_DIR)/bench/bench_display
	@$(BUILD_DIR)/bench/bench_openlog
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_analysis_window
	@$(BUILD_DIR)/bench/bench_firmware
	@$(BUILD_DIR)/bench/bench_enginespeed
	@$(BUILD_DIR)/bench/bench_live

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(NOTESTS_DIR)
