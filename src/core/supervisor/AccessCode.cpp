#include "supervisor/AccessCode.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace tov::supervisor {

namespace {

constexpr int Rounds = 100000;
constexpr int SaltBytes = 16;
constexpr int KeyBytes = 32;
const QString Scheme = QStringLiteral("pbkdf2-sha256");

QByteArray derive(const QString& code, const QByteArray& salt) {
    // Case does not matter, as with the code given with the program.
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, code.toUpper().toUtf8(),
                                              salt, Rounds, KeyBytes);
}

QString encode(const QByteArray& salt, const QByteArray& key) {
    return QStringList{Scheme, QString::number(Rounds), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(key.toBase64())}
        .join(QLatin1Char('$'));
}

} // namespace

QString StoredAccessCode(const QString& code) {
    QByteArray salt(SaltBytes, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()),
                                          SaltBytes / int(sizeof(quint32)));
    return encode(salt, derive(code, salt));
}

CodeCheck CheckAccessCode(const QString& entry, const QString& stored, bool givenCodeRefused) {
    if (stored.isEmpty()) {
        return !givenCodeRefused && entry.toUpper() == QString(QLatin1Char(AccessCode))
                   ? CodeCheck::Right
                   : CodeCheck::Wrong;
    }
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != Scheme || parts[1] != QString::number(Rounds)) {
        return CodeCheck::Damaged;
    }
    const auto salt = QByteArray::fromBase64Encoding(parts[2].toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto key = QByteArray::fromBase64Encoding(parts[3].toLatin1(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !key || salt.decoded.size() != SaltBytes || key.decoded.size() != KeyBytes) {
        return CodeCheck::Damaged;
    }
    return derive(entry, salt.decoded) == key.decoded ? CodeCheck::Right : CodeCheck::Wrong;
}

int AccessCodeWait(int wrongInARow) {
    if (wrongInARow < 3) {
        return 0;
    }
    return wrongInARow >= 7 ? 30 : 1 << (wrongInARow - 2);
}

} // namespace tov::supervisor
