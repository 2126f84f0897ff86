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
SCREENSHOT ?= docs/screenshot.png
BUILD_TYPE ?= RelWithDebInfo
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DASPIRELLO_WERROR=$(WERROR) -DASPIRELLO_QT_MAJOR=$(QT)

.PHONY: all build deps configure test run demo screenshot package check-package icons sanitize fuzz bench clean

all: build

deps:
	@scripts/install-deps.sh $(QT_DEPS)

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Every test, headless.
test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The program itself, on the serial ports present.
run: build
	@$(BUILD_DIR)/Aspirello

# The gauge on the simulated measuring board, built with a short progress.
demo: configure
	@scripts/build-quietly.sh $(BUILD_DIR) $(JOBS) Aspirello-demo
	@scripts/demo.sh $(BUILD_DIR)

# The README's picture, made by the demo itself: on a virtual X display when
# Xvfb is installed (the desktop's fonts), otherwise headless.
screenshot: configure
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
	@scripts/install-deps.sh sanitize $(QT_DEPS)
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
	  aspirello-board bench_openlog bench_analysis_window bench_live bench_enginespeed
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_pipeline
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_endtoend
	@$(BUILD_DIR)/bench/bench_display
	@$(BUILD_DIR)/bench/bench_openlog
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/analysis/app/bench_analysis_window
	@$(BUILD_DIR)/bench/bench_enginespeed
	@$(BUILD_DIR)/bench/bench_live

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
