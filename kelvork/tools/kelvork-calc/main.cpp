// kelvork-calc: runs the attendance calculation on a database and writes one working table, or
// makes a new database (--init). See calc_options.h for the command line.
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "calc_command.h"
#include "calc_options.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    std::string error;
    const auto options = kelvork::calc::ParseCalcOptions(args, error);
    if (!options) {
        std::cerr << "kelvork-calc: " << error << "\n";
        return kelvork::calc::kExitArguments;
    }
    if (options->help) {
        std::cout << kelvork::calc::CalcUsage();
        return kelvork::calc::kExitOk;
    }
    return kelvork::calc::RunCalcCommand(*options, std::cout, std::cerr);
}
