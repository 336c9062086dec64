#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QDialog;
class QWidget;

struct FileChooserSetup
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QStringList filters;
    QString defaultSuffix;
};

// Everything modal or outside the window: message boxes, file choosers, nested dialogs, the desktop
// shell and ending the process. Production uses the real Qt classes; tests script the answers.
class Desktop
{
public:
    enum class Icon { None, Warning };

    virtual ~Desktop() = default;

    virtual void showMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon = Icon::None) = 0;
    virtual bool askYesNo(QWidget* owner, const QString& text, const QString& caption) = 0;
    // The chosen file's absolute path, or nothing when the user cancels.
    virtual std::optional<QString> chooseFile(QWidget* owner, const FileChooserSetup& setup) = 0;
    virtual int runModal(QDialog& dialog) = 0;
    // Verb and show mode are kept for the record; the desktop here needs neither.
    virtual void shellOpen(const QString& verb, const QString& target, int showMode) = 0;
    virtual void exitProcess(int status) = 0;
};

class QtDesktop final : public Desktop
{
public:
    void showMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon) override;
    bool askYesNo(QWidget* owner, const QString& text, const QString& caption) override;
    std::optional<QString> chooseFile(QWidget* owner, const FileChooserSetup& setup) override;
    int runModal(QDialog& dialog) override;
    void shellOpen(const QString& verb, const QString& target, int showMode) override;
    void exitProcess(int status) override;

    // The URL that shellOpen hands to the desktop: a relative file name resolves against the current
    // working directory.
    static QUrl targetUrl(const QString& target);
};
