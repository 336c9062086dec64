#pragma once

#include "engine/CredentialPair.h"

#include <QAbstractTableModel>

#include <deque>
#include <vector>

// The pairs of the result list, newest at row 0. Texts are bytes; the display decodes them as UTF-8.
// During a batch, pairs put on top are held back and reach the model as one insertion when the
// batch ends; nothing reads the list in between, so no one can tell.
class ResultList final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResultList)

public:
    enum Column { PasswordColumn = 0, UsernameColumn = 1, ColumnCount = 2 };

    explicit ResultList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row at an index, or an empty pair for an index that names no row.
    CredentialPair pairAt(int row) const;
    QByteArray cellText(int row, int column) const;
    const std::deque<CredentialPair>& rows() const;

    void insertAtTop(CredentialPair pair);
    // Sets both texts of a row; an index that names no row changes nothing.
    void setRow(int row, CredentialPair pair);
    void removeRowAt(int row);
    void clear();
    // Reverses the order of the rows, exchanging texts only.
    void reverseRows();

    void beginBatch();
    void endBatch();

private:
    void flushPending();

    std::deque<CredentialPair> rows_;
    std::vector<CredentialPair> pending_;
    int batchDepth_ = 0;
};

// Holds the list in a batch for the life of a scope.
class ResultListBatch
{
    Q_DISABLE_COPY_MOVE(ResultListBatch)

public:
    explicit ResultListBatch(ResultList& list) : list_(list) { list_.beginBatch(); }
    ~ResultListBatch() { list_.endBatch(); }

private:
    ResultList& list_;
};
