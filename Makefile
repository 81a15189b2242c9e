# The two commands of the README:
#   make demo   renders the built-in DI riff through both plug-ins into out/
#   make test   builds everything and runs every test
# and: make install / make uninstall  puts the two modules and the factory presets into
#      ~/.vst and the two LV2 bundles into ~/.lv2 (see README)
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

# The demo needs only the renderer and the two plug-ins, not the tests: the
# built-in DI riff through a factory preset of each amplifier and the cabinet
# the preset was voiced with, peak-normalised to -3 dBFS.
AMPRENDER = $(BUILD)/host/amprender/amprender
demo: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release; fi
	cmake --build $(BUILD) -j $(JOBS) --target amprender Ostra_Ferro_B3 Vortan_v1_1
	@mkdir -p out
	$(AMPRENDER) --plugin ferro --preset presets/ferro/03-crunch.fxp --cab 4x12-closed \
	  --normalize -3 --out out/demo-ferro.wav
	$(AMPRENDER) --plugin vortan --preset presets/vortan/factory-bank.fxb --program 6 \
	  --cab 4x12-closed --normalize -3 --out out/demo-vortan.wav
	@echo "The built-in DI riff (9 s, 44.1 kHz) through both amplifiers, with a speaker cabinet:"
	@echo "  $(CURDIR)/out/demo-ferro.wav   Ostra_Ferro_B3, factory preset \"Crunch\", closed 4x12 cabinet"
	@echo "  $(CURDIR)/out/demo-vortan.wav  Vortan_v1_1, factory bank program 6 \"Singing Lead\", closed 4x12 cabinet"
	@echo "Both peak at -3 dBFS. Other sounds: presets/README.md"

install: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release; fi
	cmake --build $(BUILD) -j $(JOBS) --target Ostra_Ferro_B3 Vortan_v1_1 Ostra_Ferro_B3_lv2 Vortan_v1_1_lv2
	cmake --install $(BUILD)

uninstall:
	cmake --build $(BUILD) --target uninstall

clean:
	rm -rf $(BUILD) out
