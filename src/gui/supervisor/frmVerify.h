#pragma once

#include "app/Context.h"
#include "ui/ModalScreen.h"

#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace tov::supervisor {

// Double entry of a paper answer sheet: the current client's answers keyed a second time,
// compared with the stored ones, and the differing questions asked once more.
class frmVerify : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceCancel = 0 };

    explicit frmVerify(const app::Context& context, QWidget* parent = nullptr);

    QLineEdit* txtCurQuestion() const { return txtCur_; }
    QLineEdit* txtPrevQuestion() const { return txtPrev_; }
    QLabel* lblCurQuestion() const { return lblCur_; }
    QLabel* lblPrevQuestion() const { return lblPrev_; }
    QGroupBox* frPrevQuestion() const { return frPrev_; }
    // The item numbers of this pass and whether it is the correction pass.
    const QList<int>& questionList() const { return list_; }
    bool correcting() const { return correcting_; }
    int position() const { return position_; }

protected:
    void Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPosition();
    void answer(QChar digit);
    void back();
    void endOfPass();
    void store(const QString& message, const QString& title);
    int currentItem() const { return list_.at(position_ - 1); }

    app::Context ctx_;
    QLabel* lblCur_;
    QLineEdit* txtCur_;
    QGroupBox* frPrev_;
    QLabel* lblPrev_;
    QLineEdit* txtPrev_;
    QString stored_;
    QString entry_;
    QList<int> list_;
    int position_ = 1;
    bool correcting_ = false;
    bool finished_ = false;
};

} // namespace tov::supervisor
