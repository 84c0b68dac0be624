#include "script/ScriptConditionRunner.h"

#include "Messages.h"
#include "script/ConditionList.h"
#include "script/HistoryArrays.h"

namespace numsieve {

namespace {

const QString kCompute = QStringLiteral("compute");

// Per number, for each expression in order: the same index-0 assignments the
// compute text starts with (looked up by name every time, so that an
// expression that replaces or changes an array is seen exactly as there), then
// the expression's function. A failing run counts as "does not hold", as a
// failing Run does; the interrupt is not catchable and ends the call.
// Returns 1 for pass and 0 for fail under the mode.
const QString kDriver = QStringLiteral(
    "(function(f,h,t,u,s,w,a,k,c,include){var all=1;for(var i=0;i<f.length;i++){var r=0;try{"
    "号码[0][1]=h;hm[0][1]=h;号码[0][2]=t;hm[0][2]=t;号码[0][3]=u;hm[0][3]=u;和值[0]=s;hz[0]=s;"
    "和尾数[0]=w;hw[0]=w;平均值[0]=a;pj[0]=a;跨度[0]=k;kd[0]=k;AC值[0]=c;ac[0]=c;r=f[i]();}catch(e){r=0;}"
    "if(r!==1){if(include)return 0;all=0;}}return include?1:(all?0:1);})");

// The expression inside the same one-line tail as the compute text, so that a
// comment or a line break in it acts the same in both ways.
QString compiledFunction(const QString &expression)
{
    return QStringLiteral("(function(){if(") + expression + QStringLiteral("){return 1;}else{return 0;}})");
}

// A differently shaped wrapper: an expression that compiles in both is
// self-contained and cannot have rearranged the code around it.
QString shapeProbe(const QString &expression)
{
    return QStringLiteral("(function(){return [(") + expression + QStringLiteral(")];})");
}

} // namespace

ScriptConditionRunner::ScriptConditionRunner(EvaluationWay way, std::chrono::milliseconds timeLimit)
    : m_way(way)
    , m_activeWay(way)
    , m_timeLimit(timeLimit)
{
}

ScriptConditionRunner::~ScriptConditionRunner()
{
    m_driver = QJSValue();
    m_functions = QJSValue();
}

std::expected<void, QString> ScriptConditionRunner::prepare(const QString &conditionText, const QStringList &draws)
{
    m_driver = QJSValue();
    m_functions = QJSValue();
    m_abortMessage.reset();
    m_activeWay = m_way;
    m_expressions = cutConditionList(conditionText);
    if (m_expressions.isEmpty()) {
        m_engine.reset();
        return {};
    }

    m_engine = std::make_unique<ScriptEngine>(m_timeLimit);
    m_engine->prepare();
    const auto fail = [this]() -> std::expected<void, QString> {
        m_expressions.clear();
        m_engine.reset();
        return std::unexpected(msg::kAdvancedIncomplete);
    };
    if (!m_engine->addCode(historyText(draws)))
        return fail();
    for (const QString &expression : std::as_const(m_expressions)) {
        if (!m_engine->addCode(computeText(expression)) || !m_engine->run(kCompute))
            return fail();
    }
    if (m_activeWay == EvaluationWay::Compiled && !compile()) {
        if (m_abortMessage)
            return fail();
        m_activeWay = EvaluationWay::Literal;
    }
    return {};
}

bool ScriptConditionRunner::compile()
{
    m_functions = m_engine->newArray(int(m_expressions.size()));
    for (qsizetype i = 0; i < m_expressions.size(); ++i) {
        const auto probe = m_engine->evaluate(shapeProbe(m_expressions[i]));
        const auto function = m_engine->evaluate(compiledFunction(m_expressions[i]));
        if (!probe || !function || !function->isCallable()) {
            if ((!probe && probe.error() == ScriptFailure::Interrupted)
                || (!function && function.error() == ScriptFailure::Interrupted))
                m_abortMessage = msg::kAdvancedIncomplete;
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

void ScriptConditionRunner::abort()
{
    m_abortMessage = msg::kAdvancedIncomplete;
}

bool ScriptConditionRunner::test(int number, ListMode mode)
{
    if (m_abortMessage)
        return false;
    if (m_expressions.isEmpty())
        return true;
    if (!m_engine)
        return false;
    return m_activeWay == EvaluationWay::Compiled ? testCompiled(number, mode) : testLiteral(number, mode);
}

bool ScriptConditionRunner::testLiteral(int number, ListMode mode)
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

bool ScriptConditionRunner::testCompiled(int number, ListMode mode)
{
    const ScriptAttributes a = scriptAttributes(number);
    const auto result = m_engine->call(m_driver, {m_functions, a.h, a.t, a.u, a.sum, a.tail, a.average, a.span, a.ac,
                                                  mode == ListMode::Include});
    if (!result) {
        // The driver catches every script error itself; reaching here means
        // the watchdog stopped it (or the driver was tampered with).
        abort();
        return false;
    }
    return result->toInt() == 1;
}

} // namespace numsieve
