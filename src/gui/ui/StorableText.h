#pragma once

#include <QString>

#include <functional>

class QLineEdit;

namespace tov::ui {

// Keeps a field to what the client file can store. A character Windows-1252 lacks would be
// stored as "?", so a key, a paste or a drop that brings one in is refused whole, and `tell`
// hears of the first such character once the refused change has been undone.
void KeepStorable(QLineEdit* field, std::function<void(const QString& letter)> tell);

// What the operator is told about a character the client file cannot store, with the plain
// letter to type instead when there is one.
QString UnstorableText(const QString& letter);

} // namespace tov::ui
