#include "list/ColumnFitter.h"

#include "list/ResultList.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QTextLayout>
#include <QTreeView>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Widths are 16-bit in the list header's own terms; anything wider is held at the limit.
constexpr int MaxColumnWidth = 32767;
} // namespace

ColumnFitter::ColumnFitter(ResultList& list, QTreeView& view) : QObject(&view), list_(list), view_(view)
{
    connect(&list_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { measureRows(first, last); });
    connect(&list_, &QAbstractItemModel::rowsRemoved, this, [this] { stale_ = true; });
    connect(&list_, &QAbstractItemModel::modelReset, this, [this] { stale_ = true; });
    connect(&list_, &QAbstractItemModel::dataChanged, this, [this] { stale_ = true; });
    rebuildAdvances();
}

void ColumnFitter::rebuildAdvances()
{
    measuredFont_ = view_.font();
    const QFontMetricsF metrics(measuredFont_);
    for (int c = 0; c < 128; ++c) {
        const auto index = static_cast<std::size_t>(c);
        asciiAdvance_[index] = c < 0x20 ? 0 : metrics.horizontalAdvance(QChar(c));
        asciiOverhang_[index] = c < 0x20 ? 0 : std::max<qreal>(0, -metrics.rightBearing(QChar(c)));
    }
    margin_ = 2 * (view_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view_) + 1);
    stale_ = true;
}

// The view draws without kerning or ligatures (ResultListView), so a plain text is as wide as its characters'
// advances plus whatever its last glyph reaches beyond; anything else is laid out as the delegate does it.
int ColumnFitter::cellWidth(QByteArrayView text) const
{
    qreal width = 0;
    qreal overhang = 0;
    bool ascii = true;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || byte < 0x20) {
            ascii = false;
            break;
        }
        width += asciiAdvance_[byte];
        if (byte != ' ')
            overhang = asciiOverhang_[byte];
    }
    if (ascii) {
        width += overhang;
    } else {
        QTextLayout layout(QString::fromUtf8(text), measuredFont_);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(std::numeric_limits<int>::max() / 256);
        layout.endLayout();
        width = line.isValid() ? line.naturalTextWidth() : 0;
    }
    return std::min(MaxColumnWidth, static_cast<int>(std::ceil(width)) + margin_);
}

void ColumnFitter::measureRows(int first, int last)
{
    if (stale_)
        return;
    const auto& rows = list_.rows();
    for (int row = first; row <= last; ++row) {
        const CredentialPair& pair = rows[static_cast<std::size_t>(row)];
        widest_[0] = std::max(widest_[0], cellWidth(pair.password));
        widest_[1] = std::max(widest_[1], cellWidth(pair.username));
    }
}

void ColumnFitter::remeasureIfStale()
{
    if (measuredFont_ != view_.font())
        rebuildAdvances();
    if (!stale_)
        return;
    stale_ = false;
    widest_ = {};
    if (list_.rowCount() > 0)
        measureRows(0, list_.rowCount() - 1);
}

// The list's inner width, less the vertical scroll bar when the rows will need one. Worked out from the
// sizes rather than read off the viewport, which is laid out only later (or not yet, before showing).
int ColumnFitter::roomInList() const
{
    const QSize inner = view_.maximumViewportSize();
    const int rows = list_.rowCount();
    if (rows == 0 || view_.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
        return inner.width();
    const int rowHeight = std::max(1, view_.sizeHintForRow(0));
    const int headerHeight = view_.header()->isHidden() ? 0 : view_.header()->sizeHint().height();
    const bool scrolls = static_cast<qint64>(rows) * rowHeight > inner.height() - headerHeight;
    return scrolls ? inner.width() - view_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view_)
                   : inner.width();
}

void ColumnFitter::fit()
{
    QHeaderView* header = view_.header();
    if (!header)
        return;
    remeasureIfStale();
    const int columns = header->count();
    int used = 0;
    for (int column = 0; column < columns; ++column) {
        const int contents = column < 2 ? widest_[static_cast<std::size_t>(column)] : 0;
        int heading = header->sectionSizeHint(column);
        if (column == columns - 1)
            heading = std::max(heading, roomInList() - used);
        const int width = std::min(MaxColumnWidth, std::max(contents, heading));
        header->resizeSection(column, width);
        used += width;
    }
}
