#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace tov::scoring {

// One item of the item blueprint: how it is scored, which scales and criteria read it, and its
// working wording.
struct BlueprintItem {
    int number = 0;
    QList<int> points;       // by answer code, 0 (omitted) first
    QStringList scales;      // VA, AL, DR, DG
    QStringList roles;       // abuse, dependency, tolerance, ...
    QStringList significant; // AL, DR, DG
    QString listedGroup;     // AL, DR, DG or empty
    QString listedText;      // the report's text for a listed item
    QString wording;
    QStringList answers;     // 68..73: the four answers
    QStringList answerTexts; // 68..73: the report's text for each answer
};

// The item blueprint, data/items/blueprint.txt: the one source of the item content that the
// scoring tables and the item bank are built from.
class Blueprint {
public:
    // Reads and checks the blueprint; a malformed line throws AppError naming the line.
    static Blueprint load(const QString& path);

    const BlueprintItem& item(int number) const { return items_.at(number - 1); }
    const QList<BlueprintItem>& items() const { return items_; }

    // Scale code of a scale number 1..4 and back.
    static QString scaleCode(int scale);
    // Items of a scale, in item order.
    QList<int> scaleItems(int scale) const;
    // Significant items of a group (AL, DR, DG), in item order.
    QList<int> significantItems(const QString& group) const;
    // Listed items of a group, in item order.
    QList<int> listedItems(const QString& group) const;

private:
    QList<BlueprintItem> items_;
};

} // namespace tov::scoring
