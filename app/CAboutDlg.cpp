#include "app/CAboutDlg.h"

#include "resources/AppIcon.h"
#include "resources/DialogBuilder.h"

#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
{
    const DialogLayout& layout = aboutBoxLayout();
    setWindowTitle(QString::fromLatin1(layout.caption));
    setWindowIcon(appIcon());
    setFont(dialogFont(layout.pointSize));
    const DialogUnits units = DialogUnits::forFont(font());
    const BuiltControls built = buildControls(this, layout, units);
    if (auto* ok = qobject_cast<QPushButton*>(built.byId.value(IdOk))) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        ok->setFocus();
    }
    setFixedSize(built.units.toPixelsX(layout.width), built.units.toPixelsY(layout.height));
}
