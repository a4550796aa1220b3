// A program of windows (no console of its own) that prints a version line
// with Polish letters the way the programs answer --version.
#include "CommandLineOutput.h"

int main() {
    return kwizmar::PrintOnCommandLine("kwizmar 1.5 zażółć gęślą jaźń\n") ? 0 : 1;
}
