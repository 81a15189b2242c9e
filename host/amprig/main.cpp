// amprig: plays a guitar live through one of the amplifiers and a cabinet,
// as a JACK client (or under PipeWire's JACK).
#include <string>
#include <vector>

#include "host/amprig/rig_app.h"

int main(int argc, char** argv) {
  return amprig::Run(std::vector<std::string>(argv + 1, argv + argc));
}
