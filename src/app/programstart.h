#pragma once

namespace arcavio {

// Program start: the application object, the long-lived windows in their order, the loop.
int runProgram(int argc, char** argv);

} // namespace arcavio
