#include "core/script/ScriptEvaluator.h"

#include "core/Messages.h"
#include "core/script/ConditionList.h"
#include "core/script/HistoryArrays.h"

#include <algorithm>

namespace numsieve {

namespace {

const QString kCompute = QStringLiteral("compute");

const QString kIndexZero = QStringLiteral(
    "号码[0][1]=h;hm[0][1]=h;号码[0][2]=t;hm[0][2]=t;号码[0][3]=u;hm[0][3]=u;和值[0]=s;hz[0]=s;"
    "和尾数[0]=w;hw[0]=w;平均值[0]=a;pj[0]=a;跨度[0]=k;kd[0]=k;AC值[0]=c;ac[0]=c;");

// Per number, for each expression in order: the same index-0 assignments the
// compute text starts with (looked up by name every time, so that an
// expression that replaces or changes an array is seen exactly as there), then
// the expression's function. A failing run counts as "does not hold", as a
// failing Run does; the interrupt is not catchable and ends the call.
// Returns 1 for pass and 0 for fail under the mode.
const QString kDriver = QStringLiteral(
    "(function(f,h,t,u,s,w,a,k,c,include){var all=1;for(var i=0;i<f.length;i++){var r=0;try{")
    + kIndexZero
    + QStringLiteral("r=f[i]();}catch(e){r=0;}if(r!==1){if(include)return 0;all=0;}}return include?1:(all?0:1);})");

bool isIdentifierChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_' || ch == u'$';
}

// Whether the expression names nothing but the twelve arrays: besides them
// only numbers, brackets and operators. Whatever such an expression does, it
// can reach no object but the arrays, which the history text declares anew,
// so an engine that ran it answers the next run exactly as a fresh one, and
// with its brackets balanced it cannot leave the code it is placed in, so a
// run may evaluate them all in one function. Plain expressions besides can
// only read: without any assignment they cannot change what the next one
// sees. Anything else takes the general way; being too strict here only
// costs speed.
bool namesOnlyArrays(const QString &expression, bool allowWrites)
{
    static const QStringList names{QStringLiteral("号码"), QStringLiteral("和值"), QStringLiteral("和尾数"),
                                   QStringLiteral("平均值"), QStringLiteral("跨度"), QStringLiteral("AC值"),
                                   QStringLiteral("hm"), QStringLiteral("hz"), QStringLiteral("hw"),
                                   QStringLiteral("pj"), QStringLiteral("kd"), QStringLiteral("ac")};
    static const QString operators = QStringLiteral("+-*/%<>=!&|?:");
    if (expression.isEmpty())
        return false;
    if (!allowWrites) {
        if (expression.contains(QStringLiteral("++")) || expression.contains(QStringLiteral("--"))
            || expression.contains(QStringLiteral("<<")) || expression.contains(QStringLiteral(">>")))
            return false;
        QString rest = expression;
        for (const QString &comparison : {QStringLiteral("==="), QStringLiteral("!=="), QStringLiteral("=="),
                                          QStringLiteral("!="), QStringLiteral(">="), QStringLiteral("<=")})
            rest.remove(comparison);
        if (rest.contains(u'='))
            return false;
    }

    int round = 0;
    int square = 0;
    for (qsizetype i = 0; i < expression.size();) {
        const QChar ch = expression[i];
        if (ch.isDigit()) {
            while (i < expression.size() && (expression[i].isDigit() || expression[i] == u'.'))
                ++i;
            // A letter straight after a number (1e5, 0x1f, 1.toString) is not
            // worth telling apart.
            if (i < expression.size() && isIdentifierChar(expression[i]))
                return false;
            continue;
        }
        if (isIdentifierChar(ch)) {
            const qsizetype start = i;
            while (i < expression.size() && isIdentifierChar(expression[i]))
                ++i;
            if (!names.contains(expression.mid(start, i - start)))
                return false;
            continue;
        }
        if (ch == u'(')
            ++round;
        else if (ch == u')')
            --round;
        else if (ch == u'[')
            ++square;
        else if (ch == u']')
            --square;
        else if (!operators.contains(ch))
            return false;
        if (round < 0 || square < 0)
            return false;
        ++i;
    }
    return round == 0 && square == 0;
}

// The expressions of a run that name only the twelve arrays, in one
// function, each as its own statement, a failing one counting as "does not
// hold". Index 0 is assigned before the first and again after every one that
// may write, so each sees it as the compute text sets it. The parameters
// never clash with the only names an expression holds.
QString inlineDriver(const QStringList &expressions)
{
    QString text = QStringLiteral("(function(h,t,u,s,w,a,k,c,include){var all=1,r;");
    bool assigned = false;
    for (const QString &expression : expressions) {
        text += QStringLiteral("try{") + (assigned ? QString() : kIndexZero) + QStringLiteral("r=(") + expression
            + QStringLiteral(")?1:0;}catch(e){r=0;}if(r!==1){if(include)return 0;all=0;}");
        assigned = namesOnlyArrays(expression, false);
    }
    return text + QStringLiteral("return include?1:(all?0:1);})");
}

// The expression inside the same one-line tail as the compute text, so that a
// comment or a line break in it acts the same in both ways.
QString compiledFunction(const QString &expression)
{
    return QStringLiteral("(function(){if(") + expression + QStringLiteral("){return 1;}else{return 0;}})");
}

// One expression as a function of the tested number's values, for a run that
// remembers outcomes: index 0 assigned as the compute text does, 1 when it
// holds, 0 when not, 2 when it throws (where the pre-check refuses it and the
// tests count it as not holding). With all values -1 it sees index 0 exactly
// as the pre-check does.
QString rememberedFunction(const QString &expression)
{
    return QStringLiteral("(function(h,t,u,s,w,a,k,c){try{") + kIndexZero + QStringLiteral("return(") + expression
        + QStringLiteral(")?1:0;}catch(e){return 2;}})");
}

// What the remembered outcomes of a run may take before they are dropped
// and found anew.
constexpr std::size_t kMemoBytes = std::size_t(64) << 20;

// A differently shaped wrapper: an expression that compiles in both is
// self-contained and cannot have rearranged the code around it.
QString shapeProbe(const QString &expression)
{
    return QStringLiteral("(function(){return [(") + expression + QStringLiteral(")];})");
}

} // namespace

ScriptEvaluator::ScriptEvaluator(EvaluationWay way, std::chrono::milliseconds timeLimit)
    : m_way(way)
    , m_activeWay(way)
    , m_timeLimit(timeLimit)
{
}

ScriptEvaluator::~ScriptEvaluator()
{
    m_driver = QJSValue();
    m_functions = QJSValue();
    m_memoFunctions.clear();
}

void ScriptEvaluator::setDeadline(std::chrono::steady_clock::time_point deadline)
{
    m_deadline = deadline;
    if (m_engine)
        m_engine->setDeadline(deadline);
}

std::expected<void, QString> ScriptEvaluator::prepare(const QString &conditionText, const QStringList &draws)
{
    if (m_engine && m_inline && !m_abortMessage && conditionText == m_conditionText) {
        // Expressions that name only the twelve arrays see nothing of the
        // engine but them, and the history text declares them anew: the
        // compiled functions answer exactly as a fresh engine's would.
        if (!m_memos.empty())
            return prepareRemembered(draws);
        if (auto checked = checkHistory(draws); !checked)
            return failPrepare(checked.error());
        return {};
    }

    m_driver = QJSValue();
    m_functions = QJSValue();
    m_memoFunctions.clear();
    m_memos.clear();
    m_abortMessage.reset();
    m_activeWay = m_way;
    m_plain = false;
    m_inline = false;
    m_conditionText = conditionText;
    m_expressions = cutConditionList(conditionText);
    if (m_expressions.isEmpty()) {
        m_engine.reset();
        return {};
    }

    m_engine = std::make_unique<ScriptEngine>(m_timeLimit);
    m_engine->setDeadline(m_deadline);
    m_engine->prepare();
    if (auto checked = precheck(draws); !checked)
        return failPrepare(checked.error());
    return {};
}

std::expected<void, QString> ScriptEvaluator::failPrepare(const QString &message)
{
    m_driver = QJSValue();
    m_functions = QJSValue();
    m_memoFunctions.clear();
    m_memos.clear();
    m_engine.reset();
    m_plain = false;
    m_inline = false;
    // A run that goes on regardless keeps nothing rather than everything.
    m_abortMessage = message;
    return std::unexpected(message);
}

std::expected<void, QString> ScriptEvaluator::checkHistory(const QStringList &draws)
{
    // A stopped evaluation says so: the expression may be perfectly well
    // formed and only take too long, and the user must be told which it is.
    const auto failed = [](ScriptFailure failure) {
        return std::unexpected(failure == ScriptFailure::Interrupted ? msg::kAdvancedTimeout
                                                                     : msg::kAdvancedIncomplete);
    };
    if (const auto added = m_engine->addCode(historyText(draws)); !added)
        return failed(added.error());
    for (const QString &expression : std::as_const(m_expressions)) {
        if (const auto added = m_engine->addCode(computeText(expression)); !added)
            return failed(added.error());
        if (const auto ran = m_engine->run(kCompute); !ran)
            return failed(ran.error());
    }
    return {};
}

std::expected<void, QString> ScriptEvaluator::precheck(const QStringList &draws)
{
    if (auto checked = checkHistory(draws); !checked)
        return checked;
    if (m_activeWay == EvaluationWay::Compiled && !compile()) {
        if (m_abortMessage)
            return std::unexpected(*m_abortMessage);
        m_activeWay = EvaluationWay::Literal;
    }
    if (m_plain)
        rememberOutcomes(draws);
    return {};
}

void ScriptEvaluator::rememberOutcomes(const QStringList &draws)
{
    std::vector<ExpressionMemo> memos;
    QList<QJSValue> functions;
    for (const QString &expression : std::as_const(m_expressions)) {
        const auto reads = fixedReads(expression);
        if (!reads)
            return;
        const auto function = m_engine->evaluate(rememberedFunction(expression));
        if (!function || !function->isCallable())
            return;
        memos.emplace_back(*reads);
        functions.append(*function);
    }
    m_memos = std::move(memos);
    m_memoFunctions = functions;
    // The pre-check has just declared these draws.
    m_memoDraws = draws;
    m_memoDrawsDeclared = true;
    const QList<ScriptAttributes> history = historyAttributes(draws);
    for (ExpressionMemo &memo : m_memos)
        memo.setHistory(history);
}

std::expected<void, QString> ScriptEvaluator::prepareRemembered(const QStringList &draws)
{
    // The draws are declared only when an outcome has to be found.
    m_memoDraws = draws;
    m_memoDrawsDeclared = false;
    const QList<ScriptAttributes> history = historyAttributes(draws);
    std::size_t bytes = 0;
    for (ExpressionMemo &memo : m_memos) {
        memo.setHistory(history);
        bytes += memo.bytes();
    }
    if (bytes > kMemoBytes) {
        for (ExpressionMemo &memo : m_memos)
            memo.forget();
    }
    // The pre-check's verdict, expression by expression, as checkHistory()
    // would find it.
    for (std::size_t i = 0; i < m_memos.size(); ++i) {
        const auto checked = outcome(i, ExpressionMemo::kPlaceholder);
        if (!checked)
            return failPrepare(checked.error() == ScriptFailure::Interrupted ? msg::kAdvancedTimeout
                                                                              : msg::kAdvancedIncomplete);
        if (*checked == ExpressionMemo::Throws)
            return failPrepare(msg::kAdvancedIncomplete);
    }
    return {};
}

std::expected<ExpressionMemo::Outcome, ScriptFailure> ScriptEvaluator::outcome(std::size_t expression, int number)
{
    ExpressionMemo &memo = m_memos[expression];
    if (const ExpressionMemo::Outcome known = memo.outcome(number); known != ExpressionMemo::Unknown)
        return known;
    if (!m_memoDrawsDeclared) {
        if (const auto added = m_engine->addCode(historyText(m_memoDraws)); !added)
            return std::unexpected(added.error());
        m_memoDrawsDeclared = true;
    }
    const ScriptAttributes a = number == ExpressionMemo::kPlaceholder ? ScriptAttributes{-1, -1, -1, -1, -1, -1, -1, -1}
                                                                      : scriptAttributes(number);
    const auto result = m_engine->call(m_memoFunctions[qsizetype(expression)],
                                       {a.h, a.t, a.u, a.sum, a.tail, a.average, a.span, a.ac});
    if (!result && result.error() == ScriptFailure::Interrupted)
        return std::unexpected(ScriptFailure::Interrupted);
    const int value = result ? result->toInt() : 2;
    const ExpressionMemo::Outcome found = value == 1 ? ExpressionMemo::Holds
        : value == 0                                 ? ExpressionMemo::Fails
                                                     : ExpressionMemo::Throws;
    memo.remember(number, found);
    return found;
}

bool ScriptEvaluator::testRemembered(int number, ListMode mode)
{
    bool allHold = true;
    for (std::size_t i = 0; i < m_memos.size(); ++i) {
        ExpressionMemo::Outcome found = m_memos[i].outcome(number);
        if (found == ExpressionMemo::Unknown) {
            const auto evaluated = outcome(i, number);
            if (!evaluated) {
                abort();
                return false;
            }
            found = *evaluated;
        }
        if (found != ExpressionMemo::Holds) {
            if (mode == ListMode::Include)
                return false;
            allHold = false;
        }
    }
    return mode == ListMode::Include ? true : !allHold;
}

bool ScriptEvaluator::compile()
{
    m_plain = false;
    m_inline = std::all_of(m_expressions.cbegin(), m_expressions.cend(),
                           [](const QString &e) { return namesOnlyArrays(e, true); });
    if (m_inline) {
        const auto driver = m_engine->evaluate(inlineDriver(m_expressions));
        if (driver && driver->isCallable()) {
            m_driver = *driver;
            m_plain = std::all_of(m_expressions.cbegin(), m_expressions.cend(),
                                  [](const QString &e) { return namesOnlyArrays(e, false); });
            return true;
        }
        m_inline = false;
        if (!driver && driver.error() == ScriptFailure::Interrupted) {
            m_abortMessage = msg::kAdvancedTimeout;
            return false;
        }
    }
    m_functions = m_engine->newArray(int(m_expressions.size()));
    for (qsizetype i = 0; i < m_expressions.size(); ++i) {
        const auto probe = m_engine->evaluate(shapeProbe(m_expressions[i]));
        const auto function = m_engine->evaluate(compiledFunction(m_expressions[i]));
        if (!probe || !function || !function->isCallable()) {
            if ((!probe && probe.error() == ScriptFailure::Interrupted)
                || (!function && function.error() == ScriptFailure::Interrupted))
                m_abortMessage = msg::kAdvancedTimeout;
            m_functions = QJSValue();
            return false;
        }
        m_functions.setProperty(quint32(i), *function);
    }
    const auto driver = m_engine->evaluate(kDriver);
    if (!driver) {
        m_functions = QJSValue();
        return false;
    }
    m_driver = *driver;
    return true;
}

void ScriptEvaluator::abort()
{
    m_abortMessage = msg::kAdvancedTimeout;
}

bool ScriptEvaluator::test(int number, ListMode mode)
{
    if (m_abortMessage)
        return false;
    if (m_expressions.isEmpty())
        return true;
    if (!m_engine)
        return false;
    return m_activeWay == EvaluationWay::Compiled ? testCompiled(number, mode) : testLiteral(number, mode);
}

bool ScriptEvaluator::testLiteral(int number, ListMode mode)
{
    bool allHold = true;
    for (const QString &expression : std::as_const(m_expressions)) {
        bool holds = false;
        if (const auto added = m_engine->addCode(computeText(expression, number)); !added) {
            if (added.error() == ScriptFailure::Interrupted) {
                abort();
                return false;
            }
        } else if (const auto result = m_engine->run(kCompute); !result) {
            if (result.error() == ScriptFailure::Interrupted) {
                abort();
                return false;
            }
        } else {
            holds = *result == 1;
        }
        if (!holds) {
            if (mode == ListMode::Include)
                return false;
            allHold = false;
        }
    }
    return mode == ListMode::Include ? true : !allHold;
}

bool ScriptEvaluator::testCompiled(int number, ListMode mode)
{
    if (!m_memos.empty())
        return testRemembered(number, mode);
    const ScriptAttributes a = scriptAttributes(number);
    const bool include = mode == ListMode::Include;
    const auto result = m_inline
        ? m_engine->call(m_driver, {a.h, a.t, a.u, a.sum, a.tail, a.average, a.span, a.ac, include})
        : m_engine->call(m_driver, {m_functions, a.h, a.t, a.u, a.sum, a.tail, a.average, a.span, a.ac, include});
    if (!result) {
        // The driver catches every script error itself; reaching here means
        // the watchdog stopped it (or the driver was tampered with).
        abort();
        return false;
    }
    return result->toInt() == 1;
}

} // namespace numsieve
