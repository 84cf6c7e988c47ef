#include "column_reader.h"

#include <cmath>

namespace kelvork::loader {

std::string ValueText(const QVariant& v)
{
    if (v.isNull()) return "NULL";
    return v.toString().toStdString();
}

std::string Utf8Of(const QString& text)
{
    // Most values are plain ASCII (numbers, times, codes): copied without an intermediate buffer.
    const qsizetype n = text.size();
    std::string out(static_cast<std::size_t>(n), '\0');
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < n; ++i) {
        if (in[i] >= 0x80) return text.toStdString();
        out[static_cast<std::size_t>(i)] = static_cast<char>(in[i]);
    }
    return out;
}

std::string ColumnReader::Text(int column) const
{
    const QVariant v = query_.value(column);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QString) return Utf8Of(*static_cast<const QString*>(v.constData()));
    return v.toString().toStdString();
}

void ColumnReader::NoteBad(const char* name, const QVariant& v)
{
    bad_.push_back(std::string(name) + "=" + ValueText(v));
}

int ColumnReader::Integer(int column, const char* name)
{
    const QVariant v = query_.value(column);
    if (v.isNull()) return 0;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (ok && n >= INT32_MIN && n <= INT32_MAX) return static_cast<int>(n);
        break;
    }
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && d >= INT32_MIN && d <= INT32_MAX) return static_cast<int>(d);
        break;
    }
    default: {
        bool ok = false;
        const int n = v.toString().trimmed().toInt(&ok);
        if (ok) return n;
        break;
    }
    }
    NoteBad(name, v);
    return 0;
}

double ColumnReader::Number(int column, const char* name)
{
    const QVariant v = query_.value(column);
    if (v.isNull()) return 0;
    bool ok = false;
    double d = 0;
    if (v.typeId() == QMetaType::QString)
        d = v.toString().trimmed().toDouble(&ok);
    else
        d = v.toDouble(&ok);
    if (ok && std::isfinite(d)) return d;
    NoteBad(name, v);
    return 0;
}

bool ColumnReader::Flag(int column, const char* name)
{
    const QVariant v = query_.value(column);
    if (v.isNull()) return false;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
        bool ok = false;
        const qlonglong n = s.toLongLong(&ok);
        if (ok) return n != 0;
        NoteBad(name, v);
        return false;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (ok) return n != 0;
    NoteBad(name, v);
    return false;
}

std::string ColumnReader::BadValues() const
{
    std::string text;
    for (const std::string& b : bad_) {
        if (!text.empty()) text += ' ';
        text += b;
    }
    return text;
}

void ColumnReader::ReportRow(std::vector<engine::RunProblem>& problems, const std::string& userid,
                             const std::string& what) const
{
    if (Usable()) return;
    problems.push_back({userid, table_, BadValues(), what});
}

}  // namespace kelvork::loader
