#include "tests/daw/call_log.h"

#include <fstream>
#include <set>
#include <sstream>

#include "platform/vst2/aeffect.h"

namespace daw {

bool SummariseCalls(const std::string& path, CallSummary* summary, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "no call log at " + path + ": the recorder was never loaded";
    return false;
  }
  std::set<int> seen;
  int blockSize = 0;
  bool resumed = false;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string direction, what;
    words >> direction >> what;
    if (direction == "flags") {
      ++summary->instances;  // logged once the effect exists
      blockSize = 0;
      resumed = false;
      continue;
    }
    if (direction != "host->plug") continue;
    if (what.rfind("process", 0) == 0) {
      int frames = 0;
      words >> frames;
      ++summary->processCalls;
      if (blockSize > 0 && frames > blockSize) ++summary->blocksBeyondBlockSize;
      if (!resumed) ++summary->blocksWhileSuspended;
      continue;
    }
    if (what != "dispatcher") continue;
    int opcode = -1;
    words >> opcode;
    if (seen.insert(opcode).second)
      summary->opcodes += (summary->opcodes.empty() ? "" : " ") + std::to_string(opcode);
    if (opcode == vst2::effCanDo) continue;
    long index = 0, value = 0;
    std::string opt, arrow;
    long answer = 0;
    words >> index >> value >> opt >> arrow >> answer;
    if (opcode == vst2::effSetBlockSize) blockSize = static_cast<int>(value);
    if (opcode == vst2::effMainsChanged) resumed = value != 0;
    if (opcode == vst2::effSetChunk && answer == 0) ++summary->refusedChunks;
  }
  return true;
}

}  // namespace daw
