#include "calculated_fields.h"

namespace kelvork {

namespace {

TextLookup& installedLookup()
{
    static TextLookup lookup;
    return lookup;
}

QString resource(const char* key, const char* defaultText)
{
    return lookupText(QStringLiteral("Resource"), QString::fromLatin1(key), QString::fromUtf8(defaultText));
}

// The six punch codes and their texts; empty when the code is not one of them.
QString knownTypename(const QString& code)
{
    if (code == QLatin1String("I")) return resource("CheckType1", "上班签到");
    if (code == QLatin1String("O")) return resource("CheckType2", "下班签退");
    if (code == QLatin1String("i")) return resource("CheckType3", "加班到");
    if (code == QLatin1String("o")) return resource("CheckType4", "加班退");
    if (code == QLatin1String("0")) return resource("CheckType5", "外出");
    if (code == QLatin1String("1")) return resource("CheckType6", "外出回");
    return {};
}

// The value as a whole number, when it is one.
bool wholeNumber(const QVariant& v, int* out)
{
    if (v.isNull()) return false;
    bool ok = false;
    *out = v.toString().trimmed().toInt(&ok);
    return ok;
}

} // namespace

void setTextLookup(TextLookup lookup) { installedLookup() = std::move(lookup); }

QString lookupText(const QString& section, const QString& key, const QString& defaultText)
{
    const TextLookup& lookup = installedLookup();
    return lookup ? lookup(section, key, defaultText) : defaultText;
}

QString recordTypename(const QString& checktype)
{
    const QString text = knownTypename(checktype);
    return text.isEmpty() ? checktype : text;
}

QString editLogTypename(const QString& checktype) { return knownTypename(checktype); }

QString edittypeName(const QVariant& opFlag)
{
    int n = 0;
    if (!wholeNumber(opFlag, &n)) return {};
    switch (n) {
    case 1: return resource("RecordEditType1", "增加");
    case 2: return resource("RecordEditType2", "修改");
    case 3: return resource("RecordEditType3", "删除");
    default: return {};
    }
}

QString unitsName(const QVariant& units)
{
    int n = 0;
    if (!wholeNumber(units, &n)) return {};
    switch (n) {
    case 0: return resource("Unit1", "天");
    case 1: return resource("Unit2", "周");
    case 2: return resource("Unit3", "月");
    default: return {};
    }
}

QString businessTripName() { return resource("Beaway", "公出"); }

QVariant useridInt(const QString& userid)
{
    const QString t = userid.trimmed();
    if (t.isEmpty()) return {};
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    return ok ? QVariant(n) : QVariant();
}

} // namespace kelvork
