#include "list/ResultListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

ResultListView::ResultListView(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Passwords are shown character by character: no ligature joins "ff" into one glyph and no kerning
    // moves a character, which also lets the column fit measure a text by its characters alone.
    QFont plain;
    plain.setKerning(false);
    plain.setStyleStrategy(QFont::PreferNoShaping);
    setFont(plain);

    // The selection shows only while the list has the focus.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Inactive, QPalette::Text));
    setPalette(palette);
}

void ResultListView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (userIsChoosing_)
            mark_ = current.siblingAtColumn(0);
    });
}

int ResultListView::selectionMark() const
{
    return mark_.isValid() ? mark_.row() : -1;
}

void ResultListView::mousePressEvent(QMouseEvent* event)
{
    leftPressed_ = event->button() == Qt::LeftButton;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        mark_ = index.siblingAtColumn(0);
    QScopedValueRollback<bool> choosing(userIsChoosing_, true);
    QTreeView::mousePressEvent(event);
}

void ResultListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        emit clickedInList();
    }
}

void ResultListView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        event->accept();
        return;
    }
    QScopedValueRollback<bool> choosing(userIsChoosing_, true);
    QTreeView::keyPressEvent(event);
}
