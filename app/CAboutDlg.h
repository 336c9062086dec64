#pragma once

#include <QDialog>

// The About box: the icon, the version and the maker's notice, closed by OK, Escape or its close box.
class CAboutDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
