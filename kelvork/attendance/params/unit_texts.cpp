#include "unit_texts.h"

#include "texts.h"

namespace kelvork::params {

engine::TSyshint readUnitTexts()
{
    engine::TSyshint hint;
    hint.Hour = texts::resource(QStringLiteral("Hour"), QStringLiteral("小时")).toStdString();
    hint.Minute = texts::resource(QStringLiteral("Minute"), QStringLiteral("分钟")).toStdString();
    hint.Day = texts::resource(QStringLiteral("Day"), QStringLiteral("工作日")).toStdString();
    hint.Times = texts::resource(QStringLiteral("Times"), QStringLiteral("次")).toStdString();
    return hint;
}

} // namespace kelvork::params
