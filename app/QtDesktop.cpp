#include "app/Desktop.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

void QtDesktop::showMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon)
{
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption, text, QMessageBox::Ok,
                    owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDesktop::askYesNo(QWidget* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDesktop::chooseFile(QWidget* owner, const FileChooserSetup& setup)
{
    const bool save = setup.mode == FileChooserSetup::Mode::Save;
    QFileDialog dialog(owner, save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(setup.filters);
    if (!setup.filters.isEmpty())
        dialog.selectNameFilter(setup.filters.first());
    // The chooser would put the default extension on every typed name without one, so that an existing
    // file named without an extension could not be opened by typing its name. For opening, the extension
    // is added only when the name as typed names no file and the name with it does.
    if (save)
        dialog.setDefaultSuffix(setup.defaultSuffix);
    dialog.setDirectory(QDir::current());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    if (!save && !setup.defaultSuffix.isEmpty() && !chosen.exists() && !chosen.fileName().contains(u'.')) {
        const QFileInfo withSuffix(chosen.absoluteFilePath() + u'.' + setup.defaultSuffix);
        if (withSuffix.exists())
            return withSuffix.absoluteFilePath();
    }
    return chosen.absoluteFilePath();
}

int QtDesktop::runModal(QDialog& dialog)
{
    return dialog.exec();
}

QUrl QtDesktop::targetUrl(const QString& target)
{
    const QUrl url(target);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(target));
}

void QtDesktop::shellOpen(const QString& verb, const QString& target, int showMode)
{
    Q_UNUSED(verb);
    Q_UNUSED(showMode);
    QDesktopServices::openUrl(targetUrl(target));
}

void QtDesktop::exitProcess(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}
