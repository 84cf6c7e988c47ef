#include "calc_command.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <streambuf>
#include <vector>

#include "calc_loader.h"
#include "calculation_run.h"
#include "finishing_steps.h"
#include "schema.h"
#include "startup_rows.h"

namespace kelvork::calc {

namespace {

// A stream buffer that writes into a QIODevice in large pieces.
class DeviceBuffer : public std::streambuf {
public:
    explicit DeviceBuffer(QIODevice& device) : device_(device), buffer_(1 << 16) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    ~DeviceBuffer() override { sync(); }
    bool failed() const { return failed_; }

protected:
    int_type overflow(int_type ch) override
    {
        if (sync() != 0) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override
    {
        const auto n = pptr() - pbase();
        if (n > 0 && device_.write(pbase(), n) != n) failed_ = true;
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return failed_ ? -1 : 0;
    }

private:
    QIODevice& device_;
    std::vector<char> buffer_;
    bool failed_ = false;
};

QString connectionString(const std::string& db)
{
    const QString text = QString::fromStdString(db);
    if (text.startsWith(QLatin1String("Provider="), Qt::CaseInsensitive)) return text;
    return QStringLiteral("Provider=SQLite;Data Source=") + text;
}

// The database as messages name it: a connection string without its password.
std::string shown(const std::string& db)
{
    QString text = QString::fromStdString(db);
    static const QRegularExpression password(QStringLiteral("(Password=)[^;]*"), QRegularExpression::CaseInsensitiveOption);
    text.replace(password, QStringLiteral("\\1***"));
    return text.toStdString();
}

// An engine's message on one line.
std::string oneLine(const QString& message)
{
    return message.simplified().toStdString();
}

bool isFileDatabase(const std::string& db)
{
    return !QString::fromStdString(db).startsWith(QLatin1String("Provider="), Qt::CaseInsensitive);
}

int Init(const CalcOptions& o, std::ostream& err)
{
    if (!isFileDatabase(o.db)) {
        err << "kelvork-calc: --init makes a database file; give a file, not a connection string\n";
        return kExitArguments;
    }
    const QString path = QString::fromStdString(o.db);
    if (QFileInfo::exists(path)) {
        err << "kelvork-calc: " << o.db << " already exists; --init makes a new database\n";
        return kExitDatabase;
    }
    DbStatus st = writePristineDatabase(path);
    if (st.ok()) {
        Database db;
        st = db.open(connectionString(o.db));
        if (st.ok()) st = loader::EnsureStartupRows(db);
        db.close();
    }
    if (!st.ok()) {
        QFile::remove(path);
        for (const char* suffix : {"-wal", "-shm"}) QFile::remove(path + QLatin1String(suffix));
        err << "kelvork-calc: cannot make the database " << o.db << ": " << oneLine(st.message()) << "\n";
        return kExitDatabase;
    }
    return kExitOk;
}

void ListProblems(const std::vector<engine::RunProblem>& problems, std::ostream& err)
{
    for (const engine::RunProblem& p : problems) {
        err << "kelvork-calc: warning: ";
        if (!p.Userid.empty()) err << "employee " << p.Userid << ", ";
        err << p.table << " " << p.value << ": " << p.text << "\n";
    }
}

}  // namespace

int RunCalcCommand(const CalcOptions& o, std::ostream& out, std::ostream& err)
{
    if (o.init) return Init(o, err);

    if (isFileDatabase(o.db) && !QFileInfo(QString::fromStdString(o.db)).isFile()) {
        err << "kelvork-calc: no database file " << o.db << "\n";
        return kExitDatabase;
    }
    Database db;
    if (DbStatus st = db.open(connectionString(o.db)); !st.ok()) {
        err << "kelvork-calc: cannot open the database " << shown(o.db) << ": " << oneLine(st.message()) << "\n";
        return kExitDatabase;
    }

    std::vector<engine::RunProblem> problems;
    engine::RunRequest request;
    request.firstDate = o.from;
    request.lastDate = o.to;
    request.firstTime = o.fromTime;
    request.lastTime = o.toTime;
    if (o.user) {
        request.userid = *o.user;
    } else if (o.dept) {
        std::vector<engine::DepartmentRow> departments;
        if (DbStatus st = loader::LoadDepartments(db, departments, problems); !st.ok()) {
            err << "kelvork-calc: cannot read the database: " << oneLine(st.message()) << "\n";
            return kExitDatabase;
        }
        request.deptids = engine::DepartmentSubtree(departments, *o.dept);
    }

    engine::CalcInput input;
    if (DbStatus st = loader::LoadCalcInput(db, request, input, problems); !st.ok()) {
        err << "kelvork-calc: cannot read the database: " << oneLine(st.message()) << "\n";
        return kExitDatabase;
    }
    db.close();

    engine::WorkingTables tables;
    const engine::RunSummary summary =
        engine::RunCalculation(input, request, tables, problems, engine::WithStandardFinishing());
    input = engine::CalcInput{};  // the run's rows are no longer needed while writing
    ListProblems(problems, err);
    if (summary.outcome == engine::RunOutcome::NoUser)
        err << "kelvork-calc: " << summary.message << "\n";

    if (!o.out) {
        WriteTable(tables, o.table, o.format, out);
        out.flush();
        if (!out) {
            err << "kelvork-calc: the table could not be written to standard output\n";
            return kExitDatabase;
        }
        return kExitOk;
    }
    QSaveFile file(QString::fromStdString(*o.out));
    if (!file.open(QIODevice::WriteOnly)) {
        err << "kelvork-calc: cannot write " << *o.out << ": " << oneLine(file.errorString()) << "\n";
        return kExitArguments;
    }
    bool written = false;
    {
        DeviceBuffer buffer(file);
        std::ostream stream(&buffer);
        WriteTable(tables, o.table, o.format, stream);
        stream.flush();
        written = stream.good() && !buffer.failed();
    }
    if (!written || !file.commit()) {
        err << "kelvork-calc: cannot write " << *o.out << ": " << oneLine(file.errorString()) << "\n";
        return kExitArguments;
    }
    return kExitOk;
}

}  // namespace kelvork::calc
