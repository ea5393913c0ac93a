#pragma once

#include <QColor>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace tov::ui {

class MenuChoice;
class MessagePanel;

// The keyboard, focus and help-line grammar every screen shares. A screen registers its menu
// choices, field labels and fields here; the kit colours the panels, bolds the focused field's
// label, shows each control's help line and handles the keys of the menu-choice buttons.
class ScreenKit : public QObject {
    Q_OBJECT
public:
    ScreenKit(QWidget* screen, MessagePanel* msgPanel);

    // A new menu choice with the next index.
    MenuChoice* addMenuChoice(const QString& caption, const QString& help);
    // A row of new menu choices (caption, help) of one width, placed in the frame from the left.
    // A "CHECK" choice keeps its index but is never shown.
    QHBoxLayout* addMenuChoiceButtons(QWidget* frame,
                                      const QList<std::pair<QString, QString>>& choices,
                                      int widthTwips);
    // The same row, centred and spaced wider.
    QHBoxLayout* addMenuChoiceRow(QWidget* frame, const QList<std::pair<QString, QString>>& choices,
                                  int widthTwips);
    QPushButton* cmdMenuChoice(int index) const;
    MenuChoice* sspMenuChoice(int index) const;
    int lastMenuChoice() const { return static_cast<int>(choices_.size()) - 1; }

    // A new field label with the next index.
    QLabel* addLabel(const QString& text, QWidget* parent = nullptr);
    QLabel* lblInfo(int index) const { return labels_.at(index); }
    int lastLabel() const { return static_cast<int>(labels_.size()) - 1; }

    // An entry field with its label index and help line. The check runs on Enter (and on Tab
    // when the screen validates on Tab too); the key goes no further: true moves the focus on,
    // false keeps it in the field.
    void addField(QWidget* field, int labelIndex, const QString& help,
                  std::function<bool()> check = {});
    // Fields of this screen are checked on Tab as well as on Enter.
    void setCheckOnTab(bool on) { checkOnTab_ = on; }
    // Where the focus goes after a field's check passes; the next field in tab order otherwise.
    void setNextAfter(QWidget* field, QWidget* next);
    // Moves the focus to the control after this one in tab order.
    static void focusNext(QWidget* from);
    // A field whose value was read with doubt from a scanned sheet: shown in the doubt colour,
    // and while it has the focus its help line asks the operator to check it against the sheet.
    void markDoubtful(QWidget* field);
    static QColor DoubtColour() { return {255, 200, 60}; }
    static QString DoubtHelp() {
        return QStringLiteral("Amber: unclear on the scanned sheet - check it, then press Enter.");
    }
    static QString DoubtRowHelp() {
        return QStringLiteral("Amber row: unclear on the scanned sheet - check it.");
    }

    void HighlightMenuChoice(int index);
    void ResetMenuChoices();
    void HighlightLabel(int index);
    void ResetLabels();

    MessagePanel* msgPanel() const { return msgPanel_; }
    void setHelp(const QString& text);
    // Shows a message that stays while the focus arrives on the given control, until the focus
    // moves on to another one.
    void pinHelp(const QString& text, QWidget* holder);
    void setChoiceHelp(int index, const QString& help) { choiceHelp_[index] = help; }

signals:
    void menuChoiceClicked(int index);
    void menuChoiceFocused(int index);
    void fieldFocusLost(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FieldInfo {
        QWidget* widget;
        int labelIndex;
        QString help;
        std::function<bool()> check;
        QWidget* next = nullptr;
    };
    bool buttonEvent(MenuChoice* choice, QEvent* event);
    bool fieldEvent(FieldInfo& field, QEvent* event);
    bool helpPinnedFor(QObject* widget);

    QWidget* screen_;
    MessagePanel* msgPanel_;
    // Guarded: while a screen is torn down, focus events still arrive for what remains of it.
    QList<QPointer<MenuChoice>> choices_;
    QStringList choiceHelp_;
    QList<QPointer<QLabel>> labels_;
    QList<FieldInfo> fields_;
    bool checkOnTab_ = false;
    QWidget* pinnedFor_ = nullptr;
};

} // namespace tov::ui
