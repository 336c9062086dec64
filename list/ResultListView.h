#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

// The result list's view: whole rows, several may be selected, no sorting, no editing. Its selection
// mark is the row the user last chose with the mouse or the keyboard; a click anywhere in the list
// (a row or the empty space below them) is reported as clickedInList, and the Copy key as copyRequested.
class ResultListView final : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResultListView)

public:
    explicit ResultListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    int selectionMark() const;

signals:
    void clickedInList();
    void copyRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPersistentModelIndex mark_;
    bool userIsChoosing_ = false;
    bool leftPressed_ = false;
};
