// Control tooltips, answered when a tip is about to show.
#include "app/CVarnelDlg.h"

#include "list/ResultListView.h"
#include "prefs/TooltipTexts.h"
#include "resources/DialogBuilder.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {
// The control a tip request is for. The list's rows live in its viewport, which asks for the list; the
// column header's requests reach the list itself, since the header passes on what it does not answer.
QWidget* requestingControl(QWidget* receiver, ResultListView* list)
{
    if (list && receiver == list->viewport())
        return list;
    return receiver;
}
} // namespace

void CVarnelDlg::SetTooltipsActive(bool active)
{
    tooltipsActive_ = active;
    if (!active)
        QToolTip::hideText();
}

bool CVarnelDlg::tooltipsActive() const
{
    return tooltipsActive_;
}

bool CVarnelDlg::OnTooltipNeedText(QWidget* control, TooltipRequest& request)
{
    copyTooltipText(request, TooltipTextFor(controlId(control)));
    return true;
}

// Tips are asked for each time one is about to show, never handed out beforehand; the request is
// always consumed here so that nothing else puts up a tip of its own.
bool CVarnelDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::ToolTip || !receiver)
        return QDialog::eventFilter(watched, event);

    const auto* help = static_cast<QHelpEvent*>(event);
    TooltipRequest request;
    if (tooltipsActive_)
        OnTooltipNeedText(requestingControl(receiver, listView_), request);
    const QString text = QString::fromLatin1(request.text);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, receiver);
    event->accept();
    return true;
}
