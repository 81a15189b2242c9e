// Preset slots, the preset bank and the chunk header.
#include <cstring>
#include <string>
#include <vector>

#include "ferro/shell/iplug_base.h"

const char* IPlugBase::PresetName(int index) const {
  if (index < 0 || index >= NPresets()) return "";
  return presets_[static_cast<size_t>(index)].name;
}

void IPlugBase::FillPresetsFromState(const char* name, int count) {
  for (int n = 0; n < count; ++n) {
    IPresetSlot* slot = nullptr;
    for (IPresetSlot& s : presets_) {
      if (!s.initialised) {
        slot = &s;
        break;
      }
    }
    if (!slot) return;
    slot->initialised = true;
    slot->SetName(name ? name : "Default");
    SerializeState(&slot->chunk);
  }
}

void IPlugBase::EnsureOnePreset() {
  if (!presets_.empty()) return;
  presets_.emplace_back(0);
  FillPresetsFromState(nullptr, 1);
}

bool IPlugBase::LoadPreset(int index) {
  if (index < 0 || index >= NPresets()) return false;
  IPresetSlot& slot = presets_[static_cast<size_t>(index)];
  bool ok;
  if (slot.initialised) {
    ok = UnserializeState(slot.chunk, 0) > 0;
  } else {
    int count = 1;
    for (const IPresetSlot& s : presets_)
      if (std::strstr(s.name, "user preset")) ++count;
    slot.initialised = true;
    char name[IPresetSlot::kNameLength];
    std::snprintf(name, sizeof name, "%s %d", "user preset", count);
    slot.SetName(name);
    slot.chunk.Clear();
    ok = SerializeState(&slot.chunk);
  }
  if (ok) {
    currentPreset_ = index;
    RedrawParamControls();
  }
  return ok;
}

void IPlugBase::StoreCurrentPreset(const char* name) {
  if (currentPreset_ < 0 || currentPreset_ >= NPresets()) return;
  IPresetSlot& slot = presets_[static_cast<size_t>(currentPreset_)];
  slot.chunk.Clear();
  SerializeState(&slot.chunk);
  if (name && name[0]) slot.SetName(name);
}

bool IPlugBase::WritePresetBank(StateChunk* chunk) {
  for (const IPresetSlot& slot : presets_) {
    chunk->PutString(slot.name);
    chunk->Put(static_cast<uint8_t>(slot.initialised ? 1 : 0));
    if (slot.initialised) chunk->PutChunk(slot.chunk);
  }
  return chunk->Size() > 0;
}

int IPlugBase::ReadPresetBank(const StateChunk& chunk, int position) {
  // The whole bank is read and checked before anything changes: a bank that
  // is refused leaves every slot, name and value as it was.
  struct Incoming {
    std::string name;
    bool initialised = false;
    int statePosition = -1;
  };
  std::vector<Incoming> incoming(presets_.size());
  std::string text;  // a slot without a readable name keeps the one read before
  for (Incoming& in : incoming) {
    position = chunk.GetString(&text, position);
    uint8_t flag = 0;
    if (position >= 0) position = chunk.Get(&flag, position);
    if (position < 0) return -1;
    in.name = text;
    in.initialised = flag != 0;
    if (in.initialised) {
      in.statePosition = position;
      position = CheckState(chunk, position);
      if (position < 0) return -1;
    }
  }
  for (size_t i = 0; i < presets_.size(); ++i) {
    IPresetSlot& slot = presets_[i];
    slot.SetName(incoming[i].name.c_str());
    slot.initialised = incoming[i].initialised;
    slot.chunk.Clear();
    // A slot the bank marks empty drops its old state, so a later load of
    // it cannot read stale values ahead of the new ones.
    if (slot.initialised) {
      UnserializeState(chunk, incoming[i].statePosition);
      SerializeState(&slot.chunk);
    }
  }
  LoadPreset(currentPreset_);
  return position;
}

int IPlugBase::ReadChunkHeader(const StateChunk& chunk, int* position) {
  int32_t magic = 0;
  const int afterMagic = chunk.Get(&magic, *position);
  if (afterMagic < 0 || magic != kChunkMagic) return 0;
  int32_t version = 0;
  const int afterVersion = chunk.Get(&version, afterMagic);
  if (afterVersion < 0) {
    *position = -1;
    return 0;
  }
  *position = afterVersion;
  return version;
}

void IPlugBase::WriteChunkHeader(StateChunk* chunk) {
  chunk->Put(static_cast<int32_t>(kChunkMagic));
  chunk->Put(static_cast<int32_t>(kChunkVersion));
}
