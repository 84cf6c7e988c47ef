#include "password.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdint>

namespace kelvork::operators {

namespace {

constexpr std::uint16_t kStartKey = 8273;
constexpr std::uint32_t kC1 = 31589;
constexpr std::uint32_t kC2 = 52943;

std::uint16_t nextKey(std::uint8_t c, std::uint16_t key)
{
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(c) + key) * kC1 + kC2);
}

const char* const kCodePage = "GB18030";

} // namespace

std::string scrambleBytes(std::string_view plain)
{
    std::string out;
    out.reserve(plain.size() * 2);
    std::uint16_t key = kStartKey;
    for (const char ch : plain) {
        const auto c = static_cast<std::uint8_t>(static_cast<std::uint8_t>(ch) ^ (key >> 8));
        key = nextKey(c, key);
        out.push_back(static_cast<char>('A' + c / 26));
        out.push_back(static_cast<char>('A' + c % 26));
    }
    return out;
}

std::string unscrambleBytes(std::string_view scrambled)
{
    std::string out;
    out.reserve(scrambled.size() / 2);
    std::uint16_t key = kStartKey;
    for (std::size_t i = 0; i + 1 < scrambled.size(); i += 2) {
        const int x = static_cast<unsigned char>(scrambled[i]) - 'A';
        const int y = static_cast<unsigned char>(scrambled[i + 1]) - 'A';
        const auto c = static_cast<std::uint8_t>(x * 26 + y);  // kept as a byte
        out.push_back(static_cast<char>(c ^ (key >> 8)));
        key = nextKey(c, key);
    }
    return out;
}

QString scramblePassword(const QString& password)
{
    QStringEncoder encode(kCodePage);
    const QByteArray bytes = encode.isValid() ? QByteArray(encode(password)) : password.toUtf8();
    const std::string scrambled = scrambleBytes(std::string_view(bytes.constData(), bytes.size()));
    return QString::fromLatin1(scrambled.data(), static_cast<qsizetype>(scrambled.size()));
}

QString unscramblePassword(const QString& stored)
{
    const QByteArray letters = stored.toLatin1();
    const std::string bytes = unscrambleBytes(std::string_view(letters.constData(), letters.size()));
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decode(kCodePage);
    return decode.isValid() ? QString(decode(raw)) : QString::fromUtf8(raw);
}

} // namespace kelvork::operators
