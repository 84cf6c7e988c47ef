// kelvork-demo: writes a demonstration database.
//
//   kelvork-demo --db FILE --employees N --days M [--from yyyy-mm-dd] [--seed S]
//
// FILE must not exist yet (or give a connection string of an empty server database). --from
// defaults to the first day of the month two months before today; --seed to 2003.
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "demo_database.h"
#include "schema.h"

namespace {

template <typename T>
std::optional<T> whole(const std::string& text)
{
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int usage(const std::string& error)
{
    std::fprintf(stderr, "kelvork-demo: %s\n", error.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using namespace kelvork;
    demo::DemoSettings settings;
    std::string db;
    bool haveEmployees = false, haveDays = false, haveFrom = false;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (name == "--help" || name == "-h") {
            std::printf("usage: kelvork-demo --db FILE --employees N --days M [--from yyyy-mm-dd] [--seed S]\n");
            return 0;
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return usage(name + " needs a value");
        }
        if (name == "--db") {
            db = value;
        } else if (name == "--employees") {
            const auto n = whole<int>(value);
            if (!n || *n < 1 || *n > 1000000) return usage("--employees must be a number from 1 to 1000000: " + value);
            settings.employees = *n;
            haveEmployees = true;
        } else if (name == "--days") {
            const auto n = whole<int>(value);
            if (!n || *n < 1 || *n > 3660) return usage("--days must be a number from 1 to 3660: " + value);
            settings.days = *n;
            haveDays = true;
        } else if (name == "--from") {
            const auto d = engine::ParseDateText(value);
            if (!d) return usage("--from is not a date yyyy-mm-dd: " + value);
            settings.from = *d;
            haveFrom = true;
        } else if (name == "--seed") {
            const auto s = whole<unsigned long long>(value);
            if (!s) return usage("--seed must be a whole number: " + value);
            settings.seed = *s;
        } else {
            return usage("unknown argument " + name);
        }
    }
    if (db.empty() || !haveEmployees || !haveDays) return usage("--db, --employees and --days are required");
    if (!haveFrom) {
        const QDate today = QDate::currentDate();
        settings.from = demo::DefaultDemoStart(engine::DayFromCivil(today.year(), today.month(), today.day()));
    }

    const QString target = QString::fromStdString(db);
    const bool server = target.startsWith(QLatin1String("Provider="), Qt::CaseInsensitive);
    // Messages name the database without its password.
    QString named = target;
    named.replace(QRegularExpression(QStringLiteral("(Password=)[^;]*"), QRegularExpression::CaseInsensitiveOption),
                  QStringLiteral("\\1***"));
    const std::string shown = named.toStdString();
    if (!server && QFileInfo::exists(target)) {
        std::fprintf(stderr, "kelvork-demo: %s already exists; the demo writes a new database\n", db.c_str());
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    DbStatus st = server ? DbStatus::success() : writePristineDatabase(target);
    demo::DemoSummary summary;
    if (st.ok()) {
        Database database;
        st = database.open(server ? target : QStringLiteral("Provider=SQLite;Data Source=") + target);
        if (st.ok()) st = demo::WriteDemoDatabase(database, settings, summary);
        database.close();
    }
    if (!st.ok()) {
        if (!server)
            for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(target + QLatin1String(suffix));
        std::fprintf(stderr, "kelvork-demo: cannot write the demo database %s: %s\n", shown.c_str(),
                     st.message().simplified().toUtf8().constData());
        return 1;
    }
    std::printf("kelvork-demo: %s: %lld employees in %lld departments, %lld punches from %s over %d days, "
                "%lld leaves and trips, %lld temporary shifts (%.1f s)\n",
                shown.c_str(), summary.employees, summary.departments, summary.punches,
                engine::DateText(settings.from).c_str(), settings.days, summary.leaves, summary.tempShifts,
                static_cast<double>(timer.elapsed()) / 1000.0);
    return 0;
}
