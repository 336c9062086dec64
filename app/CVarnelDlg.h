#pragma once

#include "engine/GeneratorOptions.h"

#include <QDialog>
#include <QHash>
#include <QIcon>

#include <optional>

class ColumnFitter;
class Desktop;
class PasswordClipboard;
class QLineEdit;
class QMenu;
class QMenuBar;
class RandomSource;
class ResultList;
class ResultListView;
struct TooltipRequest;

// The main window. It owns the option record and the result list, and every command of the program
// is one of its members; each folder of the source tree defines the commands of its own subsystem.
class CVarnelDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CVarnelDlg)

public:
    explicit CVarnelDlg(Desktop& desktop, RandomSource& random, QWidget* parent = nullptr);
    ~CVarnelDlg() override;

    // Start, the window menu, painting and ending.
    bool OnInitWindow();
    void OnOk();
    void OnCancel();
    void OnQuit();
    void OnWindowDestroyed();
    void OnWindowMenuCommand(quint32 commandId, qintptr parameter = 0);
    void ShowAboutBox();
    void OnHelpAbout();
    QIcon OnDragIconRequest() const;
    QMenu* windowMenu() const;
    QMenuBar* menuBar() const;

    // Every button, menu item and window-menu command arrives here by its id.
    void OnCommand(int id);

    // The option record and its controls.
    bool ReadControls();
    void WriteControls();
    void ApplyDefaults();
    void SelectPasswordStyle(PasswordStyle value);
    void SelectLetterCase(LetterCase value);
    void SelectUsernameStyle(UsernameStyle value);
    void SelectSaveLayout(SaveLayout value);
    const GeneratorOptions& options() const;

    // Generation.
    void OnGenerate();
    void ImportUsernames();

    // The result list.
    void SetUpColumns();
    void FitColumns();
    void InsertCurrentPair();
    void LoadRow(int row);
    void LoadSelectedRow();
    void UpdateSelectedRow();
    void DeleteSelectedRow();
    void ClearList();
    void SaveList();
    void ReverseRows();
    void ShowLargePrint();
    void CopySelectedRows();
    ResultList& resultList() const;
    ResultListView* listView() const;
    PasswordClipboard& passwordClipboard() const;

    // Preferences, tooltips and help.
    void LoadPreferences();
    void ApplyTooltipsPreference();
    void OnToolTipsCheck();
    void SavePreferences();
    void SetTooltipsActive(bool active);
    bool tooltipsActive() const;
    bool OnTooltipNeedText(QWidget* control, TooltipRequest& request);
    void OnHelpManual();
    void OnHelpTutorials();
    void OnHelpReadme();
    void OnHelpSupportOptions();
    void OnHelpEmailSupport();
    void OnHelpBugReport();
    void OnHelpSalesSupport();
    void OnHelpMoreInfo();
    void OnHelpUninstall();

    // The control with a layout id, or nullptr.
    QWidget* control(int id) const;

public slots:
    // Runs the window until it ends, as a modal run does, while the desktop sees an ordinary window.
    int exec() override;
    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CommandScope;
    friend class ControlBatch;

    void buildWindow();
    void buildMenuBar();
    void buildWindowMenu();
    void addAboutItem();
    void showWindowMenu(const QPoint& globalPos);
    void setFileTitle(const QString& path);
    std::optional<QString> chooseFileKeepingDirectory(bool forSaving);
    void reportFileError(const QString& text, const QString& caption, const QString& path, const QString& reason);
    void reportNoSecureRandom(const QString& reason);
    void showValidationPrompt(QLineEdit* edit, const QString& text);
    bool readNumber(int id, const char* label, qint32 minimum, qint32 maximum, qint32& field);
    QByteArray readText(int id) const;
    void writeText(int id, const QByteArray& bytes);
    void finishBatch();

    Desktop& desktop_;
    RandomSource& random_;
    GeneratorOptions options_;
    ResultList* list_ = nullptr;
    ResultListView* listView_ = nullptr;
    ColumnFitter* fitter_ = nullptr;
    PasswordClipboard* clipboard_ = nullptr;
    QIcon windowIcon_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QHash<int, QWidget*> controls_;
    // What each text edit was last given, so that bytes which are not valid UTF-8 survive a
    // round trip through an edit the user did not touch.
    QHash<int, QPair<QString, QByteArray>> shownTexts_;
    bool tooltipsActive_ = false;
    bool destroyed_ = false;
    bool shownOnce_ = false;

    // One command shows the validation prompt at most once, however often it reads the controls.
    int commandDepth_ = 0;
    bool promptShownInCommand_ = false;
    bool lastReadOk_ = true;

    // Inside a batch, transfers and fits that nobody can see are done once at its end.
    int batchDepth_ = 0;
    bool deferredWrite_ = false;
    bool deferredFit_ = false;
};

// Marks the extent of one command.
class CommandScope
{
    Q_DISABLE_COPY_MOVE(CommandScope)

public:
    explicit CommandScope(CVarnelDlg& window);
    ~CommandScope();

private:
    CVarnelDlg& window_;
};

// Marks a run of pairs made or walked in one go (a Generate batch, an import, an export).
class ControlBatch
{
    Q_DISABLE_COPY_MOVE(ControlBatch)

public:
    explicit ControlBatch(CVarnelDlg& window);
    ~ControlBatch();

private:
    CVarnelDlg& window_;
};
