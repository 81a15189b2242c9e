// Reading the call recorder's log (call_recorder.cpp): what a host did with
// a plug-in, summed up for the checks of the DAW test.
#pragma once

#include <string>

namespace daw {

struct CallSummary {
  int instances = 0;              // entry-point calls that created an effect
  int processCalls = 0;           // logged process calls (block-size changes)
  int blocksBeyondBlockSize = 0;  // blocks longer than the last effSetBlockSize
  int blocksWhileSuspended = 0;   // blocks outside effMainsChanged(1)..(0)
  int refusedChunks = 0;          // effSetChunk answered 0
  std::string opcodes;            // the distinct dispatcher opcodes, in first-use order
};

bool SummariseCalls(const std::string& path, CallSummary* summary, std::string* error);

}  // namespace daw
