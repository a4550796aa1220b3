#include "QtRegionalSettings.h"
#include "Ts2Tool.h"

#include <QDate>

#include <iostream>

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const kwizmar::TQtRegionalSettings regional;
    const QDate today = QDate::currentDate();
    return kwizmar::RunTs2Tool(args, std::cout, std::cerr, regional,
                               kwizmar::TDate{today.year(), today.month(), today.day()});
}
