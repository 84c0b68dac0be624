#include "core/Messages.h"
#include "core/script/ConditionList.h"
#include "core/script/EditorTokens.h"
#include "core/script/HistoryArrays.h"

#include <QTest>

using namespace numsieve;
using namespace std::chrono_literals;

class TestScriptTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historyText_data();
    void historyText();
    void historyKeepsNewestThirty();
    void computeTexts();
    void cutConditionList_data();
    void cutConditionList();
    void addExpression_data();
    void addExpression();
    void addTwoInARow();
    void conditionListLimits_data();
    void conditionListLimits();
    void addToAFullList();
    void editorTokens();
};

void TestScriptTexts::historyText_data()
{
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("no draws") << QStringList{}
                              << QStringList{"var 号码=[[-1,-1,-1,-1]];", "var 和值=[-1];", "var 和尾数=[-1];",
                                             "var 平均值=[-1];", "var 跨度=[-1];", "var AC值=[-1];",
                                             "var hm=[[-1,-1,-1,-1]];", "var hz=[-1];", "var hw=[-1];",
                                             "var pj=[-1];", "var kd=[-1];", "var ac=[-1];"};
    // Oldest first in, newest first out.
    QTest::newRow("456 then 123") << QStringList{"456", "123"}
                                  << QStringList{"var 号码=[[-1,-1,-1,-1],[-1,1,2,3],[-1,4,5,6]];",
                                                 "var 和值=[-1,6,15];", "var 和尾数=[-1,6,5];",
                                                 "var 平均值=[-1,2,5];", "var 跨度=[-1,2,2];",
                                                 "var AC值=[-1,0,0];",
                                                 "var hm=[[-1,-1,-1,-1],[-1,1,2,3],[-1,4,5,6]];",
                                                 "var hz=[-1,6,15];", "var hw=[-1,6,5];", "var pj=[-1,2,5];",
                                                 "var kd=[-1,2,2];", "var ac=[-1,0,0];"};
    // AC depends on positions: 777 -> -1, 121 -> 1, 112 -> 0; average 1/3+0.5
    // rounds down, 2/3+0.5 up; a leading zero and a text with trailing junk
    // read as the C runtime reads them.
    QTest::newRow("ac average parsing") << QStringList{"777", "121", "112", "001", "002", "09x"}
                                        << QStringList{"var 号码=[[-1,-1,-1,-1],[-1,0,0,9],[-1,0,0,2],[-1,0,0,1],"
                                                       "[-1,1,1,2],[-1,1,2,1],[-1,7,7,7]];",
                                                       "var 和值=[-1,9,2,1,4,4,21];", "var 和尾数=[-1,9,2,1,4,4,1];",
                                                       "var 平均值=[-1,3,1,0,1,1,7];", "var 跨度=[-1,9,2,1,1,1,0];",
                                                       "var AC值=[-1,0,0,0,0,1,-1];",
                                                       "var hm=[[-1,-1,-1,-1],[-1,0,0,9],[-1,0,0,2],[-1,0,0,1],"
                                                       "[-1,1,1,2],[-1,1,2,1],[-1,7,7,7]];",
                                                       "var hz=[-1,9,2,1,4,4,21];", "var hw=[-1,9,2,1,4,4,1];",
                                                       "var pj=[-1,3,1,0,1,1,7];", "var kd=[-1,9,2,1,1,1,0];",
                                                       "var ac=[-1,0,0,0,0,1,-1];"};
}

void TestScriptTexts::historyText()
{
    QFETCH(QStringList, draws);
    QFETCH(QStringList, lines);
    QCOMPARE(numsieve::historyText(draws), lines.join('\n') + '\n');
}

void TestScriptTexts::historyKeepsNewestThirty()
{
    QStringList draws;
    for (int i = 0; i < 40; ++i)
        draws << QString::asprintf("%.3d", i);
    const QStringList lines = numsieve::historyText(draws).split('\n');
    QCOMPARE(lines.size(), 13);
    // Newest (039) first, 010 the 30th, nothing older.
    QVERIFY(lines[0].startsWith("var 号码=[[-1,-1,-1,-1],[-1,0,3,9],[-1,0,3,8],"));
    QVERIFY(lines[0].endsWith(",[-1,0,1,0]];"));
    QCOMPARE(lines[1].count(','), 30);
}

void TestScriptTexts::computeTexts()
{
    QCOMPARE(computeText("和值[0]>10"), "function compute(){if(和值[0]>10){return 1;}else{return 0;}}");
    QCOMPARE(computeText("hz[0]!=hz[1]", 121),
             "function compute(){号码[0][1]=1;hm[0][1]=1;号码[0][2]=2;hm[0][2]=2;号码[0][3]=1;hm[0][3]=1;"
             "和值[0]=4;hz[0]=4;和尾数[0]=4;hw[0]=4;平均值[0]=1;pj[0]=1;跨度[0]=1;kd[0]=1;AC值[0]=1;ac[0]=1;"
             "if(hz[0]!=hz[1]){return 1;}else{return 0;}}");
    QCOMPARE(computeText("1", 999),
             "function compute(){号码[0][1]=9;hm[0][1]=9;号码[0][2]=9;hm[0][2]=9;号码[0][3]=9;hm[0][3]=9;"
             "和值[0]=27;hz[0]=27;和尾数[0]=7;hw[0]=7;平均值[0]=9;pj[0]=9;跨度[0]=0;kd[0]=0;AC值[0]=-1;ac[0]=-1;"
             "if(1){return 1;}else{return 0;}}");
}

void TestScriptTexts::cutConditionList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expressions");

    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("only breaks and blanks") << " \r\n　\n" << QStringList{};
    QTest::newRow("as added") << "和值[0]>10;\r\n跨度[0]<5;\r\n" << QStringList{"和值[0]>10", "跨度[0]<5"};
    QTest::newRow("double separators") << "a>1;;;b>2;;" << QStringList{"a>1", "b>2"};
    QTest::newRow("separators apart by a break") << "a>1;\r\n;b>2" << QStringList{"a>1", "b>2"};
    QTest::newRow("leading separator") << ";a>1;" << QStringList{"", "a>1"};
    QTest::newRow("trailing piece") << "a>1;b>2" << QStringList{"a>1", "b>2"};
    QTest::newRow("no separator") << "a>1" << QStringList{"a>1"};
    QTest::newRow("blanks inside") << "号码 [0]\r[1] >　2;\n" << QStringList{"号码[0][1]>2"};
    // Tabs are not among the removed characters.
    QTest::newRow("tab kept") << "a\t>1;" << QStringList{"a\t>1"};
}

void TestScriptTexts::cutConditionList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expressions);
    QCOMPARE(numsieve::cutConditionList(text), expressions);
    QCOMPARE(conditionSwitchCode(text), text.trimmed().isEmpty() ? 30 : 15);
}

void TestScriptTexts::addExpression_data()
{
    QTest::addColumn<QString>("composed");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("accepted");

    const QStringList two{"456", "123"};
    const QString before = "跨度[0]<9;\r\n";
    QTest::newRow("empty leaves the list") << "" << two << before << true;
    QTest::newRow("composed with blanks") << "和值  [0]  >  10" << two << before + "和值[0]>10;\r\n" << true;
    QTest::newRow("ideographic blanks and trim") << "　号码[1]　[2] == 2 " << two << before + "号码[1][2]==2;\r\n"
                                                 << true;
    QTest::newRow("index 0 holds -1 in the trial") << "和值[0]  >=  0" << two << before + "和值[0]>=0;\r\n"
                                                   << true;
    QTest::newRow("trial value does not matter") << "1  >  2" << two << before + "1>2;\r\n" << true;
    QTest::newRow("not equal") << "hz[1]!=hz[2]" << two << before + "hz[1]!=hz[2];\r\n" << true;
    QTest::newRow("assignment only") << "和值[0]  =  5" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("no operator at all") << "和值[0]  +  5" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("blanks only") << "  　 " << two << msg::kExpressionIncomplete << false;
    QTest::newRow("syntax error") << "和值[0]  >  (" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("no 31st draw") << "号码[31][1]  >  0" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("fewer draws than the period") << "号码[3][1]  >  0" << two << msg::kExpressionIncomplete
                                                 << false;
    // A missing element is undefined, which compares false without an error.
    QTest::newRow("missing sum is no error") << "和值[3]  >  0" << two << before + "和值[3]>0;\r\n" << true;
    QTest::newRow("unknown name") << "foo[0]  >  0" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("runaway loop") << "(function(){while(1){}})()>0" << two << msg::kAdvancedTimeout << false;
    QTest::newRow("huge fill") << "new  Array(1e9).fill(0).length>0" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("recursion caught at every depth") << "(function\tf(){try{f()}catch(e){f()}})()>0" << two
                                                     << msg::kAdvancedTimeout << false;
    QTest::newRow("replace to a terabyte") << "'x'.repeat(1e6).replace(/x/g,'y'.repeat(1e6)).length>0" << two
                                           << msg::kAdvancedAborted << false;
    QTest::newRow("huge push loop") << "(function(){var a=[];while(1){a.push(1)}})()>0" << two
                                    << msg::kExpressionIncomplete << false;
    QTest::newRow("huge repeat") << "'x'.repeat(2e9).length>0" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("huge from") << "Array.from({length:1e9}).length>0" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("binary buffers") << "new Float64Array(1e9).length>0" << two << msg::kExpressionIncomplete
                                    << false;
    QTest::newRow("module import") << "import('/etc/passwd')!=0" << two << msg::kExpressionIncomplete << false;
    QTest::newRow("no console") << "console.log(1)!=0" << two << msg::kExpressionIncomplete << false;
}

void TestScriptTexts::addExpression()
{
    QFETCH(QString, composed);
    QFETCH(QStringList, draws);
    QFETCH(QString, result);
    QFETCH(bool, accepted);

    const auto outcome = numsieve::addExpression(composed, "跨度[0]<9;\r\n", draws, 200ms);
    QCOMPARE(outcome.has_value(), accepted);
    QCOMPARE(accepted ? *outcome : outcome.error(), result);
}

void TestScriptTexts::conditionListLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("tooLarge");

    const QString one = "1<2;\r\n";
    QTest::newRow("1000 expressions") << one.repeated(1000) << false;
    QTest::newRow("1001 expressions") << one.repeated(1001) << true;
    QTest::newRow("1001 once ;; collapses") << one.repeated(1000) + ";;;;" << false;
    // Counted in UTF-8: a Chinese character takes three bytes.
    const QString wide = QString(349525, u'和');   // 1,048,575 bytes
    QTest::newRow("1 MB less a byte") << wide + "1" << false;
    QTest::newRow("1 MB and a byte") << wide + "12" << true;
}

void TestScriptTexts::conditionListLimits()
{
    QFETCH(QString, text);
    QFETCH(bool, tooLarge);
    QCOMPARE(conditionListTooLarge(text), tooLarge);
}

void TestScriptTexts::addToAFullList()
{
    const QString full = QString("1<2;\r\n").repeated(int(kMaxExpressions));
    QCOMPARE(numsieve::addExpression("和值[0]>10", full, {"123"}, 200ms).error(), msg::kExpressionTooMany);
    QCOMPARE(*numsieve::addExpression("和值[0]>10", full.chopped(6), {"123"}, 200ms),
             full.chopped(6) + "和值[0]>10;\r\n");
}

void TestScriptTexts::addTwoInARow()
{
    auto first = numsieve::addExpression("和值[0]  >  10", "", {"123"}, 200ms);
    QVERIFY(first);
    auto second = numsieve::addExpression("跨度[0]  <  5", *first, {"123"}, 200ms);
    QVERIFY(second);
    QCOMPARE(*second, "和值[0]>10;\r\n跨度[0]<5;\r\n");
}

void TestScriptTexts::editorTokens()
{
    QCOMPARE(attributeItems(), (QStringList{"号码", "和值", "和尾数", "平均值", "跨度", "AC值"}));
    QCOMPARE(periodItems().size(), 31);
    QCOMPARE(periodItems().first(), "本期");
    QCOMPARE(periodItems()[1], "前1期");
    QCOMPARE(periodItems().last(), "前30期");
    QCOMPARE(positionItems(), (QStringList{"第一位", "第二位", "第三位"}));

    QCOMPARE(referenceText(0, 1, 1), "号码[1][2]");
    QCOMPARE(referenceText(0, 30, 2), "号码[30][3]");
    QCOMPARE(referenceText(1, 0, 2), "和值[0]");
    QCOMPARE(referenceText(5, 12, 0), "AC值[12]");
    QCOMPARE(referenceText(6, 0, 0), "");
    QCOMPARE(referenceText(0, 31, 0), "");
    QVERIFY(positionEnabled(0));
    QVERIFY(!positionEnabled(1));

    QString text;
    for (const QString &token : {referenceText(2, 3, 0), QString(">="), QString("1"), QString("&&")})
        text = appendToken(text, token);
    QCOMPARE(text, "和尾数[3]  >=  1  &&");
}

QTEST_GUILESS_MAIN(TestScriptTexts)
#include "tst_scripttexts.moc"
