#include "QtRegionalSettings.h"
#include "WynikiTool.h"

#include <iostream>

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const kwizmar::TQtRegionalSettings regional;
    return kwizmar::RunWynikiTool(args, std::cout, std::cerr, regional,
                                  kwizmar::PlatformRegistry());
}
