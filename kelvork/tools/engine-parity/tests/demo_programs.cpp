#include "demo_programs.h"

#include <QProcess>

namespace kelvork::parity {

ProgramResult runProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    ProgramResult r;
    if (!p.waitForStarted(30000)) {
        r.err = p.errorString().toUtf8();
        return r;
    }
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished(5000);
        r.err = "did not finish within two minutes";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

ProgramResult runCalc(const QStringList& args) { return runProgram(QStringLiteral(KELVORK_CALC_PROGRAM), args); }

QString writeDemo(const QString& db, int employees, int days, const QString& from)
{
    const ProgramResult r = runProgram(QStringLiteral(KELVORK_DEMO_PROGRAM),
                                       {"--db", db, "--employees", QString::number(employees), "--days",
                                        QString::number(days), "--from", from, "--seed", "2003"});
    if (r.exitCode == 0) return {};
    return QStringLiteral("kelvork-demo failed (%1): %2").arg(r.exitCode).arg(QString::fromUtf8(r.err));
}

}  // namespace kelvork::parity
