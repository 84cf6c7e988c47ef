// kelvork-calc: runs the attendance calculation on a database and writes one working table, or
// makes a new database (--init). See calc_options.h for the command line.
#include <QCoreApplication>
#include <QtGlobal>

#include <iostream>
#include <string>
#include <vector>

#include "calc_command.h"
#include "calc_options.h"

namespace {

// Qt's own diagnostics (a driver's warning about a closing connection, ...) would break the
// one-line rule of the error output; the program reports every failure itself.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) std::cerr << "kelvork-calc: " << message.simplified().toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietQtMessages);
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
