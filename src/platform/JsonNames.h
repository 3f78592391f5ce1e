#pragma once

// Names in JSON documents: a name is bytes, and JSON holds text. A name that is no UTF-8 is
// written as text with U+FFFD in place of its odd bytes and, beside it under key + "_escaped",
// percent-escaped as an address takes it ("caf%E9.txt"); read back from the escaped form.

#include <string>

#include <QJsonObject>

namespace platform {

void InsertJsonName(QJsonObject& object, const QString& key, const std::string& bytes);
std::string JsonName(const QJsonObject& object, const QString& key);

} // namespace platform
