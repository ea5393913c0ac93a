#include "entry/frmNewEntry.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "app/SaveClient.h"
#include "entry/AnswerFormats.h"
#include "entry/AnswerGridModel.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "records/NumericValue.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace tov::entry {

using platform::MessageBoxes;
using records::Field;

namespace {

constexpr int kRowHeight = 20;
// The grid widths are given for the sheet's small print; the screen shows them larger.
constexpr int kWidthScale = 2;

} // namespace

frmNewEntry::frmNewEntry(const app::Context& context, intake::ClientMode mode, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Edit Client Responses"), QStringLiteral("frEntry"), parent),
      ctx_(context), mode_(mode) {
    setObjectName(QStringLiteral("frmNewEntry"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();

    lblClientName_ = ui::clientNameHeading(frame);
    lblClientName_->setText(ctx_.state.clients().current().trimmed(Field::Name));

    gridArea_ = new QWidget(frame);
    auto* gridLayout = new QGridLayout(gridArea_);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setHorizontalSpacing(ui::twips(200) * kWidthScale);

    QHBoxLayout* buttons = k->addMenuChoiceRow(
        frame,
        {{QStringLiteral("Save"),
          QStringLiteral("SAVE data, close this window and return to Main Menu")},
         {QStringLiteral("Cancel"),
          QStringLiteral("DISCARD data, close this window and return to Main Menu")},
         {QStringLiteral("CHECK"), QString()}},
        2400);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(480), ui::twips(300), ui::twips(480), ui::twips(300));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(lblClientName_);
    layout->addWidget(gridArea_, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmNewEntry::cmdMenuChoice_Click);

    ui::SetHourglass();
    ready_ = buildGrids();
    ui::ResetHourglass();
    finishLayout();
}

frmNewEntry::~frmNewEntry() = default;

bool frmNewEntry::buildGrids() {
    std::vector<std::pair<int, QStringList>> sections; // format, its item labels; as first met
    try {
        const auto bank = ctx_.state.workspace().OpenDatabase(ctx_.state.QuestionBankPath());
        app::RecordSet dQuestions = bank->OpenTable(QStringLiteral("ENGLISH"));
        for (dQuestions.MoveFirst(); !dQuestions.atEOF(); dQuestions.MoveNext()) {
            const int format =
                AnswerFormat(dQuestions.Fields(QStringLiteral("Answer2")).toString());
            auto found = std::find_if(sections.begin(), sections.end(),
                                      [format](const auto& f) { return f.first == format; });
            if (found == sections.end()) {
                found = sections.emplace(sections.end(), format, QStringList());
            }
            found->second << dQuestions.Fields(QStringLiteral("ID")).toString() + QLatin1Char('.');
        }
        dQuestions.Close();
    } catch (const AppError& e) {
        ctx_.platform.boxes->show(
            QStringLiteral("The answer grid cannot be shown: the question bank %1 cannot be "
                           "read.\r\rError %2:%3")
                .arg(ctx_.state.QuestionBankPath())
                .arg(e.number())
                .arg(e.description()),
            MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error, QString());
        return false;
    }
    for (const auto& [format, labels] : sections) {
        addGrid(format, labels);
    }
    // Tab order: the grids in index order, then Save and Cancel.
    QWidget* previous = nullptr;
    for (const Grid& g : grids_) {
        if (previous != nullptr) {
            setTabOrder(previous, g.table);
        }
        previous = g.table;
    }
    if (previous != nullptr) {
        setTabOrder(previous, kit()->cmdMenuChoice(ChoiceSave));
    }
    setTabOrder(kit()->cmdMenuChoice(ChoiceSave), kit()->cmdMenuChoice(ChoiceCancel));
    return true;
}

void frmNewEntry::addGrid(int format, const QStringList& labels) {
    const int index = gridCount();
    const AnswerFormatInfo& info = formatInfo(format);
    auto* table = new QTableView(gridArea_);
    auto* model = new AnswerGridModel(headerTexts(format), labels, table);
    table->setModel(model);
    table->setObjectName(QStringLiteral("grdResponses_%1").arg(index));
    table->setProperty("tag", QString::number(format));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    table->setColumnWidth(0, ui::twips(info.itemColumnTwips) * kWidthScale);
    for (int c = 1; c <= info.choices; ++c) {
        table->setColumnWidth(c, ui::twips(info.choiceColumnTwips) * kWidthScale);
    }
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // The grid scrolls by its own rule (KeepRowVisible), not to every current cell.
    table->setAutoScroll(false);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // As wide as its columns: the sheet's grid widths include the borders.
    table->setFixedWidth(table->horizontalHeader()->length() +
                         table->verticalScrollBar()->sizeHint().width() + 2 * table->frameWidth());
    table->setFixedHeight(table->horizontalHeader()->height() + VisibleRows * kRowHeight +
                          2 * table->frameWidth());
    table->installEventFilter(this);
    auto* section = new QLabel(QStringLiteral("Section %1").arg(index + 1), gridArea_);
    section->setObjectName(QStringLiteral("lblSection_%1").arg(index));
    auto* gridLayout = static_cast<QGridLayout*>(gridArea_->layout());
    gridLayout->addWidget(section, 0, index);
    gridLayout->addWidget(table, 1, index, Qt::AlignTop);
    connect(table, &QTableView::clicked, this, [this, index] { ShowCurrentRow(index); });
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, index, table] {
                if (activated_ && table->hasFocus()) {
                    ShowCurrentRow(index);
                }
            });
    grids_.push_back({table, model, section, format, 1});
}

void frmNewEntry::loadAnswers() {
    records::ClientRecord& r = ctx_.state.clients().current();
    QString responses = r.get(Field::Responses);
    if (ScanEditMode()) {
        QString delivered = responses;
        while (delivered.endsWith(QLatin1Char(' '))) {
            delivered.chop(1);
        }
        if (delivered.size() < records::kItemCount) {
            ctx_.platform.boxes->show(
                QStringLiteral("Scanned answers being populated for editing but\rsome answers did "
                               "not scan correctly.\rCheck responses carefully."),
                MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None,
                QStringLiteral("Scanned Answers Warning"));
            responses = delivered.leftJustified(records::kItemCount, QLatin1Char('0'));
            r.set(Field::Responses, responses);
        }
    }
    for (int n = 1; n <= records::kItemCount; ++n) {
        answers_[static_cast<std::size_t>(n)] = responses.mid(n - 1, 1);
    }
}

int frmNewEntry::codeOf(int item) const {
    if (item < 1 || item > records::kItemCount) {
        return 0;
    }
    return static_cast<int>(records::NumericValue(answers_[static_cast<std::size_t>(item)]));
}

void frmNewEntry::setDoubtfulItems(const QList<int>& items) {
    doubtful_ = items;
    for (const Grid& g : grids_) {
        g.model->setDoubtfulItems(items);
    }
}

int frmNewEntry::currentRow(int grid) const {
    return grids_.at(static_cast<std::size_t>(grid)).table->currentIndex().row() + 1;
}

int frmNewEntry::topVisibleRow(int grid) const {
    return grids_.at(static_cast<std::size_t>(grid)).table->verticalScrollBar()->value() + 1;
}

void frmNewEntry::KeepRowVisible(int grid) {
    const Grid& g = grids_.at(static_cast<std::size_t>(grid));
    const int row = currentRow(grid);
    const int top = topVisibleRow(grid);
    if (row >= top && row < top + VisibleRows) {
        return;
    }
    g.table->verticalScrollBar()->setValue(TopRowFor(row, g.model->rowCount() + 1) - 1);
}

// The keyed row follows the grid's current row, always in its item column. Setting that cell
// comes back here (through currentChanged) only when it moves the cell, and then finds nothing
// more to move.
void frmNewEntry::ShowCurrentRow(int grid) {
    Grid& g = grids_.at(static_cast<std::size_t>(grid));
    const int row = std::max(1, currentRow(grid));
    g.model->setKeyedRow(row - 1);
    g.table->setCurrentIndex(g.model->index(row - 1, 0));
    g.rememberedRow = row;
    KeepRowVisible(grid);
    // On a row read with doubt the help line says what its colour means.
    if (!doubtful_.isEmpty()) {
        kit()->setHelp(isDoubtful(g.model->itemOfRow(row - 1)) ? ui::ScreenKit::DoubtRowHelp()
                                                               : formatInfo(g.format).help);
    }
}

void frmNewEntry::moveToRow(int grid, int row) {
    const Grid& g = grids_.at(static_cast<std::size_t>(grid));
    g.table->setCurrentIndex(g.model->index(row - 1, 0));
    ShowCurrentRow(grid);
}

void frmNewEntry::moveToGrid(int grid, int row) {
    const Grid& g = grids_.at(static_cast<std::size_t>(grid));
    g.table->setCurrentIndex(g.model->index(row - 1, 0));
    g.table->setFocus(Qt::OtherFocusReason);
}

void frmNewEntry::AdvanceRow(int grid, bool fromKey) {
    if (advancing_) {
        return;
    }
    advancing_ = true;
    const Grid& g = grids_.at(static_cast<std::size_t>(grid));
    const int row = currentRow(grid);
    const int last = g.model->rowCount();
    if (row == last && grid + 1 < gridCount()) {
        g.model->setKeyedRow(-1);
        moveToGrid(grid + 1, 1);
    } else if (row == last) {
        ShowCurrentRow(grid);
        ctx_.platform.boxes->beep();
    } else {
        moveToRow(grid, row + 1);
    }
    Q_UNUSED(fromKey); // a key and the Down arrow both move one row on
    advancing_ = false;
}

void frmNewEntry::answerKey(int grid, const QString& text) {
    const Grid& g = grids_.at(static_cast<std::size_t>(grid));
    const QChar c = text.at(0);
    const int digit = c.isDigit() ? c.digitValue() : -1;
    if (digit >= 0 && digit <= g.model->choices()) {
        const int item = g.model->itemOfRow(currentRow(grid) - 1);
        if (item >= 1 && item <= records::kItemCount) {
            answers_[static_cast<std::size_t>(item)] = QString::number(digit);
            g.model->setCode(item, digit);
        }
        ShowCurrentRow(grid); // shows the new answer in the current row
        AdvanceRow(grid, true);
    } else {
        ctx_.platform.boxes->beep();
    }
    KeepRowVisible(grid);
}

bool frmNewEntry::gridKey(int grid, QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    case Qt::Key_Down:
        AdvanceRow(grid, false);
        return true;
    case Qt::Key_Up: {
        const int row = currentRow(grid);
        if (row <= 1 && grid > 0) {
            grids_.at(static_cast<std::size_t>(grid)).model->setKeyedRow(-1);
            moveToGrid(grid - 1, grids_.at(static_cast<std::size_t>(grid - 1)).model->rowCount());
        } else if (row <= 1) {
            ctx_.platform.boxes->beep();
        } else {
            moveToRow(grid, row - 1);
        }
        return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint() &&
        (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0) {
        answerKey(grid, text);
        return true;
    }
    return false; // Page keys, Home and End move the row as the grid does
}

int frmNewEntry::gridOf(QObject* object) const {
    for (int i = 0; i < gridCount(); ++i) {
        if (grids_[static_cast<std::size_t>(i)].table == object) {
            return i;
        }
    }
    return -1;
}

bool frmNewEntry::eventFilter(QObject* watched, QEvent* event) {
    const int grid = gridOf(watched);
    if (grid < 0) {
        return ui::ModalScreen::eventFilter(watched, event);
    }
    Grid& g = grids_[static_cast<std::size_t>(grid)];
    switch (event->type()) {
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        kit()->ResetMenuChoices();
        kit()->setHelp(formatInfo(g.format).help);
        if (reason != Qt::ActiveWindowFocusReason || activated_) {
            if (!g.table->currentIndex().isValid()) {
                g.table->setCurrentIndex(g.model->index(g.rememberedRow - 1, 0));
            }
            ShowCurrentRow(grid);
        }
        return false;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            g.rememberedRow = std::max(1, currentRow(grid));
            g.model->setKeyedRow(-1);
        }
        return false;
    }
    case QEvent::KeyPress:
        return gridKey(grid, static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

void frmNewEntry::Activate() {
    if (activated_ || !ready_) {
        if (!ready_) {
            // Nothing can be keyed without the item list; leave as Cancel does.
            QMetaObject::invokeMethod(
                this, [this] { cancel(); }, Qt::QueuedConnection);
        }
        return;
    }
    ui::SetHourglass();
    loadAnswers();
    for (Grid& g : grids_) {
        for (int item = 1; item <= records::kItemCount; ++item) {
            g.model->setCode(item, codeOf(item));
        }
        g.model->setKeyedRow(-1);
        g.rememberedRow = 1;
        g.table->setCurrentIndex(g.model->index(0, 0));
    }
    activated_ = true;
    ui::ResetHourglass();
    if (!grids_.empty()) {
        grids_.front().table->setFocus(Qt::OtherFocusReason);
        ShowCurrentRow(0);
    }
}

void frmNewEntry::cmdMenuChoice_Click(int index) {
    if (index == ChoiceSave) {
        save();
    } else if (index == ChoiceCancel) {
        cancel();
    }
}

void frmNewEntry::save() {
    ui::ScreenKit* k = kit();
    k->cmdMenuChoice(ChoiceSave)->setEnabled(false);
    k->cmdMenuChoice(ChoiceCancel)->setEnabled(false);
    QString joined;
    for (int n = 1; n <= records::kItemCount; ++n) {
        joined += answers_[static_cast<std::size_t>(n)];
    }
    auto& table = ctx_.state.clients();
    if (ctx_.drive.CheckDataDisk()) {
        records::ClientRecord& r = table.current();
        const records::ClientRecord before = r;
        r.set(Field::Responses, joined);
        // A new client's record first reaches the file here, and the count grows with it.
        if (!app::saveCurrentClient(table, before, *ctx_.platform.boxes)) {
            k->cmdMenuChoice(ChoiceSave)->setEnabled(true);
            k->cmdMenuChoice(ChoiceCancel)->setEnabled(true);
            return;
        }
        setProceedToNext(true);
    }
    closeScreen();
}

void frmNewEntry::cancel() {
    kit()->cmdMenuChoice(ChoiceSave)->setEnabled(false);
    kit()->cmdMenuChoice(ChoiceCancel)->setEnabled(false);
    setProceedToNext(false);
    if (mode_ != intake::ClientMode::EditClient) {
        auto& table = ctx_.state.clients();
        table.ClearClientRecord();
        table.setCurrentClient(table.ClientCount() > 0 ? 1 : 0);
    }
    closeScreen();
}

} // namespace tov::entry
