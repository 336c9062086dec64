#include "list/ResultList.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Rows = QList<CredentialPair>;

Rows rowsOf(const ResultList& list)
{
    Rows rows;
    for (int row = 0; row < list.rowCount(); ++row)
        rows << list.pairAt(row);
    return rows;
}

// The texts the model gives a view, row by row.
QStringList shownTexts(const ResultList& list)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row) {
        texts << list.index(row, ResultList::PasswordColumn).data().toString() + QLatin1Char('|')
                + list.index(row, ResultList::UsernameColumn).data().toString();
    }
    return texts;
}

CredentialPair pair(const char* password, const char* username)
{
    return {QByteArray(password), QByteArray(username)};
}

Rows numberedRows(int count)
{
    Rows rows;
    for (int i = 0; i < count; ++i)
        rows << CredentialPair{"p" + QByteArray::number(i), "u" + QByteArray::number(i)};
    return rows;
}

// Fills the list so that row i holds rows[i].
void fill(ResultList& list, const Rows& rows)
{
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        list.insertAtTop(*it);
}

} // namespace

// Failures show the bytes, since many rows here hold texts that do not print.
char* toString(const CredentialPair& pair)
{
    return qstrdup(("(" + pair.password.toHex(' ') + " / " + pair.username.toHex(' ') + ")").constData());
}

class TestResultList final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void insertingPutsEachPairOnTop();
    void batchArrivesAsOneInsertionWithTheLastMadeOnTop();
    void batchScopeHoldsNestedBatchesUntilTheOutermostEnds();
    void emptyBatchSignalsNothing();
    void changeDuringBatchFirstDeliversThePairsMadeSoFar();
    void indexThatNamesNoRowGivesEmptyTexts_data();
    void indexThatNamesNoRowGivesEmptyTexts();
    void setRowChangesOnlyThatRow();
    void setRowOfMissingRowChangesNothing_data();
    void setRowOfMissingRowChangesNothing();
    void removeRowAtTakesOutOnlyThatRow();
    void removeRowAtOfMissingRowChangesNothing_data();
    void removeRowAtOfMissingRowChangesNothing();
    void reverseRows_data();
    void reverseRows();
    void reversingTwiceRestoresTheOrder_data();
    void reversingTwiceRestoresTheOrder();
    void clearEmptiesTheList();
    void textsAreKeptAsExactBytes_data();
    void textsAreKeptAsExactBytes();
    void longTextKeepsEveryByte();
    void headersAreLeftAlignedPasswordAndUsername();
    void cellsCannotBeEditedAndHaveNoChildren();
    void validParentHasNoRowsOrColumns();

private:
    std::unique_ptr<ResultList> list_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

void TestResultList::init()
{
    list_ = std::make_unique<ResultList>();
    tester_ =
        std::make_unique<QAbstractItemModelTester>(list_.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestResultList::cleanup()
{
    tester_.reset();
    list_.reset();
}

void TestResultList::insertingPutsEachPairOnTop()
{
    QSignalSpy aboutToInsert(list_.get(), &QAbstractItemModel::rowsAboutToBeInserted);
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);

    list_->insertAtTop(pair("a", "x"));
    list_->insertAtTop(pair("b", "y"));
    list_->insertAtTop(pair("c", "z"));

    QCOMPARE(rowsOf(*list_), (Rows{pair("c", "z"), pair("b", "y"), pair("a", "x")}));
    QCOMPARE(shownTexts(*list_), (QStringList{u"c|z"_s, u"b|y"_s, u"a|x"_s}));
    QCOMPARE(aboutToInsert.count(), 3);
    QCOMPARE(inserted.count(), 3);
    for (const QList<QVariant>& signal : std::as_const(inserted)) {
        QCOMPARE(signal.at(1).toInt(), 0);
        QCOMPARE(signal.at(2).toInt(), 0);
    }
}

void TestResultList::batchArrivesAsOneInsertionWithTheLastMadeOnTop()
{
    list_->insertAtTop(pair("old", "row"));
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);

    list_->beginBatch();
    list_->insertAtTop(pair("a", "x"));
    list_->insertAtTop(pair("b", "y"));
    list_->insertAtTop(pair("c", "z"));
    QCOMPARE(inserted.count(), 0);
    list_->endBatch();

    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 2);
    QCOMPARE(rowsOf(*list_), (Rows{pair("c", "z"), pair("b", "y"), pair("a", "x"), pair("old", "row")}));
}

void TestResultList::batchScopeHoldsNestedBatchesUntilTheOutermostEnds()
{
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);
    {
        ResultListBatch outer(*list_);
        list_->insertAtTop(pair("1", ""));
        {
            ResultListBatch inner(*list_);
            list_->insertAtTop(pair("2", ""));
        }
        QCOMPARE(inserted.count(), 0);
        list_->insertAtTop(pair("3", ""));
    }
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(rowsOf(*list_), (Rows{pair("3", ""), pair("2", ""), pair("1", "")}));
}

void TestResultList::emptyBatchSignalsNothing()
{
    list_->insertAtTop(pair("kept", ""));
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(list_.get(), &QAbstractItemModel::modelReset);
    {
        ResultListBatch batch(*list_);
    }
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(rowsOf(*list_), Rows{pair("kept", "")});
}

void TestResultList::changeDuringBatchFirstDeliversThePairsMadeSoFar()
{
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);
    {
        ResultListBatch batch(*list_);
        list_->insertAtTop(pair("a", "x"));
        list_->insertAtTop(pair("b", "y"));
        list_->setRow(1, pair("A", "X"));
        QCOMPARE(rowsOf(*list_), (Rows{pair("b", "y"), pair("A", "X")}));
        list_->insertAtTop(pair("c", "z"));
    }
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(rowsOf(*list_), (Rows{pair("c", "z"), pair("b", "y"), pair("A", "X")}));
}

void TestResultList::indexThatNamesNoRowGivesEmptyTexts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row -1, the mark of no row, gives nothing") << -1 << 0;
    QTest::newRow("the row just past the end gives nothing") << 3 << 0;
    QTest::newRow("a row far past the end gives nothing") << 1000 << 1;
    QTest::newRow("the most negative row gives nothing") << std::numeric_limits<int>::min() << 1;
    QTest::newRow("the largest row gives nothing") << std::numeric_limits<int>::max() << 0;
}

void TestResultList::indexThatNamesNoRowGivesEmptyTexts()
{
    QFETCH(int, row);
    QFETCH(int, column);

    fill(*list_, {pair("p0", "u0"), pair("p1", "u1"), pair("p2", "u2")});
    QCOMPARE(list_->pairAt(row), CredentialPair{});
    QVERIFY(list_->cellText(row, column).isEmpty());
    QVERIFY(!list_->index(row, column).data().isValid());
}

void TestResultList::setRowChangesOnlyThatRow()
{
    fill(*list_, numberedRows(4));
    QSignalSpy changed(list_.get(), &QAbstractItemModel::dataChanged);

    list_->setRow(2, pair("new", "name"));

    Rows expected = numberedRows(4);
    expected[2] = pair("new", "name");
    QCOMPARE(rowsOf(*list_), expected);
    QCOMPARE(list_->cellText(2, ResultList::PasswordColumn), QByteArray("new"));
    QCOMPARE(list_->cellText(2, ResultList::UsernameColumn), QByteArray("name"));
    QCOMPARE(changed.count(), 1);
    const auto topLeft = changed.at(0).at(0).value<QModelIndex>();
    const auto bottomRight = changed.at(0).at(1).value<QModelIndex>();
    QCOMPARE(topLeft.row(), 2);
    QCOMPARE(bottomRight.row(), 2);
    QCOMPARE(topLeft.column(), 0);
    QCOMPARE(bottomRight.column(), 1);
}

void TestResultList::setRowOfMissingRowChangesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("setting row -1 changes nothing") << -1;
    QTest::newRow("setting the row just past the end changes nothing") << 3;
    QTest::newRow("setting a row far past the end changes nothing") << 99;
}

void TestResultList::setRowOfMissingRowChangesNothing()
{
    QFETCH(int, row);

    fill(*list_, numberedRows(3));
    QSignalSpy changed(list_.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);

    list_->setRow(row, pair("new", "name"));

    QCOMPARE(rowsOf(*list_), numberedRows(3));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(inserted.count(), 0);
}

void TestResultList::removeRowAtTakesOutOnlyThatRow()
{
    fill(*list_, numberedRows(4));
    QSignalSpy removed(list_.get(), &QAbstractItemModel::rowsRemoved);

    list_->removeRowAt(3);
    list_->removeRowAt(0);

    QCOMPARE(rowsOf(*list_), (Rows{numberedRows(4).at(1), numberedRows(4).at(2)}));
    QCOMPARE(removed.count(), 2);
    QCOMPARE(removed.at(0).at(1).toInt(), 3);
    QCOMPARE(removed.at(0).at(2).toInt(), 3);
    QCOMPARE(removed.at(1).at(1).toInt(), 0);
}

void TestResultList::removeRowAtOfMissingRowChangesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("deleting row -1 changes nothing") << -1;
    QTest::newRow("deleting the row just past the end changes nothing") << 3;
    QTest::newRow("deleting the most negative row changes nothing") << std::numeric_limits<int>::min();
}

void TestResultList::removeRowAtOfMissingRowChangesNothing()
{
    QFETCH(int, row);

    fill(*list_, numberedRows(3));
    QSignalSpy removed(list_.get(), &QAbstractItemModel::rowsAboutToBeRemoved);

    list_->removeRowAt(row);

    QCOMPARE(rowsOf(*list_), numberedRows(3));
    QCOMPARE(removed.count(), 0);
}

void TestResultList::reverseRows_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("an empty list stays empty") << 0;
    QTest::newRow("one row stays where it is") << 1;
    QTest::newRow("two rows change places") << 2;
    QTest::newRow("an odd count keeps the middle row in the middle") << 5;
    QTest::newRow("an even count turns over completely") << 6;
}

void TestResultList::reverseRows()
{
    QFETCH(int, count);

    const Rows before = numberedRows(count);
    fill(*list_, before);
    QSignalSpy inserted(list_.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(list_.get(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy relaidOut(list_.get(), &QAbstractItemModel::layoutChanged);
    QPersistentModelIndex mark;
    if (count > 0)
        mark = list_->index(0, 0);

    list_->reverseRows();

    Rows expected(before.crbegin(), before.crend());
    QCOMPARE(rowsOf(*list_), expected);
    if (count % 2 == 1)
        QCOMPARE(list_->pairAt(count / 2), before.at(count / 2));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(removed.count(), 0);
    // Views are told the rows moved; what points at a row index (the selection mark) stays there.
    if (count >= 2) {
        QCOMPARE(relaidOut.count(), 1);
        QCOMPARE(mark.row(), 0);
    }
}

void TestResultList::reversingTwiceRestoresTheOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one row is restored") << 1;
    QTest::newRow("an odd count of rows is restored") << 7;
    QTest::newRow("an even count of rows is restored") << 8;
}

void TestResultList::reversingTwiceRestoresTheOrder()
{
    QFETCH(int, count);

    fill(*list_, numberedRows(count));
    list_->reverseRows();
    list_->reverseRows();
    QCOMPARE(rowsOf(*list_), numberedRows(count));
    QCOMPARE(shownTexts(*list_).size(), count);
}

void TestResultList::clearEmptiesTheList()
{
    fill(*list_, numberedRows(5));
    QSignalSpy reset(list_.get(), &QAbstractItemModel::modelReset);

    list_->clear();

    QCOMPARE(list_->rowCount(), 0);
    QCOMPARE(list_->pairAt(0), CredentialPair{});
    QCOMPARE(reset.count(), 1);

    list_->clear();
    QCOMPARE(list_->rowCount(), 0);

    list_->insertAtTop(pair("after", "clear"));
    QCOMPARE(rowsOf(*list_), Rows{pair("after", "clear")});
}

void TestResultList::textsAreKeptAsExactBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("a lone 0xff byte, never valid UTF-8, is kept") << QByteArray("\xff");
    QTest::newRow("a truncated two-byte sequence is kept") << QByteArray("ab\xc3");
    QTest::newRow("an overlong encoding of a slash is kept") << QByteArray("\xc0\xaf");
    QTest::newRow("a lone continuation byte is kept") << QByteArray("x\x80y");
    QTest::newRow("an encoded surrogate is kept") << QByteArray("\xed\xa0\x80");
    QTest::newRow("a NUL byte in the middle is kept with what follows") << QByteArray("a\0b", 3);
    QTest::newRow("a text of NUL bytes only is kept") << QByteArray(4, '\0');
    QTest::newRow("valid UTF-8 is kept and shown decoded") << QByteArray("caf\xc3\xa9 \xe2\x82\xac");
    QTest::newRow("Latin-1 bytes are kept, not re-encoded") << QByteArray("caf\xe9");
}

void TestResultList::textsAreKeptAsExactBytes()
{
    QFETCH(QByteArray, bytes);

    const QByteArray username = bytes + bytes;
    list_->insertAtTop({bytes, username});
    list_->insertAtTop(pair("above", "it"));
    list_->reverseRows();

    QCOMPARE(list_->pairAt(0).password, bytes);
    QCOMPARE(list_->pairAt(0).username, username);
    QCOMPARE(list_->cellText(0, ResultList::PasswordColumn), bytes);
    QCOMPARE(list_->cellText(0, ResultList::UsernameColumn), username);
    QCOMPARE(list_->index(0, ResultList::PasswordColumn).data().toString(), QString::fromUtf8(bytes));
    QCOMPARE(list_->index(0, ResultList::UsernameColumn).data().toString(), QString::fromUtf8(username));

    list_->setRow(1, {username, bytes});
    QCOMPARE(list_->pairAt(1), (CredentialPair{username, bytes}));
}

void TestResultList::longTextKeepsEveryByte()
{
    QByteArray text(100000, 'x');
    text[50000] = '\xff';
    list_->insertAtTop({text, text + 'y'});

    QCOMPARE(list_->pairAt(0).password, text);
    QCOMPARE(list_->cellText(0, ResultList::UsernameColumn), text + 'y');
    QVERIFY(list_->index(0, ResultList::PasswordColumn).data().toString().startsWith(u"xxxxxxxx"_s));
}

void TestResultList::headersAreLeftAlignedPasswordAndUsername()
{
    QCOMPARE(list_->columnCount(), 2);
    QCOMPARE(list_->headerData(ResultList::PasswordColumn, Qt::Horizontal).toString(), u"Password"_s);
    QCOMPARE(list_->headerData(ResultList::UsernameColumn, Qt::Horizontal).toString(), u"Username"_s);
    for (const int column : {0, 1}) {
        const QVariant alignment = list_->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole);
        QVERIFY(alignment.isValid());
        // A header view reads the alignment as an int.
        QCOMPARE(int(alignment.toInt() & Qt::AlignHorizontal_Mask), int(Qt::AlignLeft));
    }
    QVERIFY(!list_->headerData(2, Qt::Horizontal).isValid());
}

void TestResultList::cellsCannotBeEditedAndHaveNoChildren()
{
    fill(*list_, numberedRows(2));
    const QAbstractItemModel& model = *list_;
    for (const int column : {0, 1}) {
        const QModelIndex cell = list_->index(1, column);
        const Qt::ItemFlags flags = list_->flags(cell);
        QVERIFY(!(flags & Qt::ItemIsEditable));
        QVERIFY(flags & Qt::ItemIsEnabled);
        QVERIFY(flags & Qt::ItemIsSelectable);
        QVERIFY(flags & Qt::ItemNeverHasChildren);
        QVERIFY(!model.hasChildren(cell));
        QVERIFY(!list_->setData(cell, u"typed"_s));
    }
    QCOMPARE(rowsOf(*list_), numberedRows(2));
}

void TestResultList::validParentHasNoRowsOrColumns()
{
    fill(*list_, numberedRows(3));
    const QModelIndex parent = list_->index(0, 0);
    QVERIFY(parent.isValid());
    QCOMPARE(list_->rowCount(parent), 0);
    QCOMPARE(list_->columnCount(parent), 0);
    QVERIFY(!list_->index(0, 0, parent).isValid());
    QCOMPARE(list_->rowCount(), 3);
    QCOMPARE(list_->columnCount(), 2);
}

QTEST_GUILESS_MAIN(TestResultList)
#include "tst_resultlist.moc"
