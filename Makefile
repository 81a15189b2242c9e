# The two commands of the README:
#   make demo   renders the built-in DI riff through both plug-ins into out/
#   make test   builds everything and runs every test
# and: make install / make uninstall  puts the two modules into ~/.vst (see README)
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps build test demo clean install uninstall

deps:
	@scripts/install-deps.sh

build: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release; fi
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

# The demo needs only the renderer and the two plug-ins, not the tests.
demo: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release; fi
	cmake --build $(BUILD) -j $(JOBS) --target amprender Ostra_Ferro_B3 Vortan_v1_1
	@mkdir -p out
	$(BUILD)/host/amprender/amprender --plugin ferro --out out/demo-ferro.wav
	$(BUILD)/host/amprender/amprender --plugin vortan --program 0 --out out/demo-vortan.wav
	@echo "The built-in DI riff through both amplifiers:"
	@echo "  $(CURDIR)/out/demo-ferro.wav   (Ostra_Ferro_B3, factory preset)"
	@echo "  $(CURDIR)/out/demo-vortan.wav  (Vortan_v1_1, program 0)"

install: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release; fi
	cmake --build $(BUILD) -j $(JOBS) --target Ostra_Ferro_B3 Vortan_v1_1
	cmake --install $(BUILD)

uninstall:
	cmake --build $(BUILD) --target uninstall

clean:
	rm -rf $(BUILD) out
