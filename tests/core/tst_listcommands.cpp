#include "core/results/ListCommands.h"

#include <QTest>

using namespace numsieve;

class TestListCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void table_data();
    void table();
    void menus();
};

void TestListCommands::table_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QString>("emptyMessage");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("stage");
    QTest::newRow("32774") << 32774 << "保存  直选  选号号码" << "没有可保存的\"选号\"号码" << int(ListKind::Straight) << 1;
    QTest::newRow("32776") << 32776 << "保存  直选  交集号码" << "没有可保存的\"交集\"号码" << int(ListKind::Straight) << 3;
    QTest::newRow("32777") << 32777 << "保存  组六  选号号码" << "没有可保存的组六\"选号\"号码" << int(ListKind::GroupSix) << 1;
    QTest::newRow("32781") << 32781 << "保存  组三  过滤号码" << "没有可保存的组三\"过滤\"号码" << int(ListKind::GroupThree) << 2;
    QTest::newRow("32785") << 32785 << "保存  组选  交集号码" << "没有可保存的组选\"交集\"号码" << int(ListKind::Group) << 3;
    QTest::newRow("32805") << 32805 << "打印  直选  选号号码" << "没有可打印的\"选号\"号码" << int(ListKind::Straight) << 1;
    QTest::newRow("32810") << 32810 << "打印  组六  交集号码" << "没有可打印的组六\"交集\"号码" << int(ListKind::GroupSix) << 3;
    QTest::newRow("32816") << 32816 << "打印  组选  交集号码" << "没有可打印的组选\"交集\"号码" << int(ListKind::Group) << 3;
}

void TestListCommands::table()
{
    QFETCH(int, id);
    const ListCommand *c = findListCommand(id);
    QVERIFY(c);
    QTEST(c->menuText, "menuText");
    QTEST(c->emptyMessage, "emptyMessage");
    QTEST(int(c->kind), "kind");
    QTEST(int(c->stage), "stage");
    QCOMPARE(c->print, id >= 32805);
}

void TestListCommands::menus()
{
    auto ids = [](bool print, ViewMode mode) {
        QList<int> out;
        for (const ListCommand *c : listMenu(print, mode))
            out.append(c->id);
        return out;
    };
    QCOMPARE(ids(false, ViewMode::Straight), (QList<int>{32774, 32775, 32776}));
    QCOMPARE(ids(true, ViewMode::Straight), (QList<int>{32805, 32806, 32807}));
    QCOMPARE(ids(false, ViewMode::Group).size(), 9);
    QCOMPARE(ids(false, ViewMode::Group).first(), 32777);
    QCOMPARE(ids(true, ViewMode::Group).last(), 32816);
    QVERIFY(!findListCommand(32786));
    QVERIFY(!findListCommand(32804));
    QCOMPARE(listCommands().size(), size_t(24));
}

QTEST_APPLESS_MAIN(TestListCommands)
#include "tst_listcommands.moc"
