#include "QtRegionalSettings.h"
#include "Ts2Tool.h"

#include <iostream>

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const kwizmar::TQtRegionalSettings regional;
    return kwizmar::RunTs2Tool(args, std::cout, std::cerr, regional);
}
