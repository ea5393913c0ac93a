#pragma once

#include <QMainWindow>

#include <functional>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QTimer;

namespace tov::app {
class DataDrive;
class ProgramState;
} // namespace tov::app
namespace tov::platform {
struct Platform;
}

namespace tov::ui {

class MessagePanel;
class ScreenKit;

// The first and last screen: the client list, the three work sequences, the menu bar and the
// Num Lock option.
class frmMainMenu : public QMainWindow {
    Q_OBJECT
public:
    // The work sequences the menu dispatches to. One that is not set has no screens yet and its
    // menu choice stays disabled.
    struct Sequences {
        std::function<void()> EditCurrentClient;
        std::function<void()> AddNewClient;
        std::function<void()> SupervisorOptions;
    };

    enum Choice {
        EditCurrentClient = 0,
        AddNewClient = 1,
        SupervisorOptions = 2,
        ExitApplication = 3
    };

    frmMainMenu(app::ProgramState& state, platform::Platform& platform, app::DataDrive& drive,
                QWidget* parent = nullptr);
    ~frmMainMenu() override;

    void setSequences(Sequences sequences);

    // Runs the start-up sequence. False when the program is to end without showing the menu.
    // The program's start-up, run when the menu loads; false when the program ends there.
    void setStartUp(std::function<bool()> startUp) { startUp_ = std::move(startUp); }
    bool Form_Load();
    // What the screen does each time it becomes active again.
    void Activate();
    void RefreshNameDisplay();
    // The Num Lock check mark as read at start-up.
    void setNumLockChecked(bool on);

    ScreenKit* kit() const { return kit_; }
    QListWidget* lbNameDisplay() const { return lbNameDisplay_; }
    // Shown while demonstration content is in force.
    QLabel* lblDemonstration() const { return lblDemonstration_; }
    QGroupBox* fraClient() const { return fraClient_; }
    QFrame* frMainMenu() const { return frMainMenu_; }
    MessagePanel* msgPanel() const { return msgPanel_; }
    QAction* mnuNumLock() const { return mnuNumLock_; }
    QAction* mnuSelectDrive() const { return mnuSelectDrive_; }
    QAction* mnuAbout() const { return mnuAbout_; }
    QAction* mnuExit() const { return mnuExit_; }
    QAction* mnuPrintDos() const { return mnuPrintDos_; }

    bool ListRefreshAllowed = false;
    bool CloseOthersOnActivate = true;
    int LastMenuChoice = 0;

    // The label shown for a record: its number, a hyphen and the full 25-character name.
    static QString listEntry(int record, const QString& name);

public slots:
    void cmdMenuChoice_Click(int index);
    void timNumLock_Timer();
    void mnuNumLock_Click();
    void mnuAbout_Click();
    void mnuSelectDrive_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenuBar();
    void updateEditChoice();
    void updateAddChoice();
    void lbNameDisplay_Click();
    void setClientFrameFocused(bool focused);
    void runSequence(const std::function<void()>& sequence, bool isEdit);

    app::ProgramState& state_;
    platform::Platform& platform_;
    app::DataDrive& drive_;
    Sequences sequences_;
    std::function<bool()> startUp_;

    QWidget* central_ = nullptr;
    QLabel* imgZEVLogo_ = nullptr;
    QLabel* lblDemonstration_ = nullptr;
    QFrame* frMainMenu_ = nullptr;
    QGroupBox* fraClient_ = nullptr;
    QListWidget* lbNameDisplay_ = nullptr;
    MessagePanel* msgPanel_ = nullptr;
    ScreenKit* kit_ = nullptr;
    QTimer* timNumLock_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QAction* mnuSelectDrive_ = nullptr;
    QAction* mnuPrintDos_ = nullptr;
    QAction* mnuNumLock_ = nullptr;
    QAction* mnuAbout_ = nullptr;
};

} // namespace tov::ui
