#include "platform/JsonNames.h"

#include <QByteArray>

namespace platform {

void InsertJsonName(QJsonObject& object, const QString& key, const std::string& bytes)
{
    QByteArray raw = QByteArray::fromStdString(bytes);
    QString text = QString::fromUtf8(raw);
    object.insert(key, text);
    if (text.toUtf8() != raw)
        object.insert(key + "_escaped", QString::fromLatin1(raw.toPercentEncoding("/")));
}

std::string JsonName(const QJsonObject& object, const QString& key)
{
    QJsonValue escaped = object.value(key + "_escaped");
    if (escaped.isString())
        return QByteArray::fromPercentEncoding(escaped.toString().toLatin1()).toStdString();
    return object.value(key).toString().toUtf8().toStdString();
}

} // namespace platform
