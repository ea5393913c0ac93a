#pragma once

#include "app/Context.h"
#include "intake/ClientMode.h"
#include "ui/ModalScreen.h"

#include <QList>
#include <QStringList>

#include <array>
#include <vector>

class QLabel;
class QTableView;

namespace tov::entry {

class AnswerGridModel;

// The answers of a paper answer sheet keyed into grids, one grid per answer format, or the
// stored answers of a client reviewed and corrected.
class frmNewEntry : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceSave = 0, ChoiceCancel = 1 };
    static constexpr int VisibleRows = 17;

    frmNewEntry(const app::Context& context, intake::ClientMode mode, QWidget* parent = nullptr);
    ~frmNewEntry() override;

    bool ScanEditMode() const { return mode_ == intake::ClientMode::ScannedClient; }
    // Items whose answers were read with doubt from a scanned sheet: their rows show in the
    // doubt colour, and the grids' help line says what that means.
    void setDoubtfulItems(const QList<int>& items);
    bool isDoubtful(int item) const { return doubtful_.contains(item); }

    // Builds the grids from the question bank and loads the answers; false (after saying why)
    // when the bank cannot be read.
    bool isReady() const { return ready_; }

    int gridCount() const { return static_cast<int>(grids_.size()); }
    QTableView* grdResponses(int index) const { return grids_.at(index).table; }
    QLabel* lblSection(int index) const { return grids_.at(index).label; }
    int gridFormat(int index) const { return grids_.at(index).format; }
    // The current item row of a grid, 1 for its first item.
    int currentRow(int grid) const;
    // The first item row in view.
    int topVisibleRow(int grid) const;
    QString EntryAnswers(int item) const { return answers_.at(static_cast<std::size_t>(item)); }
    QLabel* lblClientName() const { return lblClientName_; }

    void KeepRowVisible(int grid);

protected:
    void Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Grid {
        QTableView* table;
        AnswerGridModel* model;
        QLabel* label;
        int format;
        int rememberedRow = 1;
    };

    bool buildGrids();
    void addGrid(int format, const QStringList& labels);
    void loadAnswers();
    int codeOf(int item) const;
    void ShowCurrentRow(int grid);
    void moveToRow(int grid, int row);
    void AdvanceRow(int grid, bool fromKey);
    void moveToGrid(int grid, int row);
    void answerKey(int grid, const QString& text);
    bool gridKey(int grid, QKeyEvent* key);
    int gridOf(QObject* object) const;
    void cmdMenuChoice_Click(int index);
    void save();
    void cancel();

    app::Context ctx_;
    const intake::ClientMode mode_;
    QLabel* lblClientName_ = nullptr;
    QWidget* gridArea_ = nullptr;
    std::vector<Grid> grids_;
    std::array<QString, 74> answers_{};
    QList<int> doubtful_;
    bool ready_ = false;
    bool activated_ = false;
    bool advancing_ = false;
};

} // namespace tov::entry
