#pragma once

#include <QByteArrayView>
#include <QFont>
#include <QObject>

#include <array>

class QTreeView;
class ResultList;

// Fits the two columns of the result list to their widest cells. Widths are measured as rows arrive
// (and all over again only after rows changed or left), so fitting after every insertion stays cheap.
class ColumnFitter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColumnFitter)

public:
    ColumnFitter(ResultList& list, QTreeView& view);

    // Column 0 gets the wider of its heading and its widest text; column 1, the last, the wider of its
    // widest text and the room left in the list.
    void fit();

private:
    // The width a cell needs for this text, margins included.
    int cellWidth(QByteArrayView text) const;
    void measureRows(int first, int last);
    void remeasureIfStale();
    void rebuildAdvances();
    int roomInList() const;

    ResultList& list_;
    QTreeView& view_;
    std::array<int, 2> widest_{};
    bool stale_ = false;
    QFont measuredFont_;
    std::array<qreal, 128> asciiAdvance_{};
    // How far each character's glyph reaches past its advance when it ends a text.
    std::array<qreal, 128> asciiOverhang_{};
    int margin_ = 0;
};
