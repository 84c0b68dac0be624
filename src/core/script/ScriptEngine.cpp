#include "core/script/ScriptEngine.h"

#include "core/script/ScriptWatchdog.h"

#include <QJSEngine>
#include <QStringList>

namespace numsieve {

namespace {

// Native builtins walk or allocate without looking at the interrupt flag, so
// `new Array(1e9).fill(0)` would eat memory for minutes beyond the watchdog's
// reach. No condition needs more than a few dozen elements; the prelude refuses
// anything past a million with a RangeError (a failing run) and removes the
// binary buffers, which can only serve to allocate large blocks at once.
const QString kPrelude = QStringLiteral(R"JS((function(){
var cap=1000000;
function big(o){return o!==null&&o!==undefined&&(typeof o==='object'||typeof o==='function'||typeof o==='string')&&+o.length>cap;}
function guard(proto,names,extra){
names.forEach(function(n){
var f=proto[n];
if(typeof f!=='function')return;
var g=function(){
if(big(this))throw new RangeError('too long');
for(var i=0;i<arguments.length;i++){if(big(arguments[i]))throw new RangeError('too long');}
if(extra&&extra(n,this,arguments))throw new RangeError('too long');
return f.apply(this,arguments);
};
Object.defineProperty(proto,n,{value:g,writable:true,configurable:true,enumerable:false});
});
}
guard(Array.prototype,['concat','copyWithin','entries','every','fill','filter','find','findIndex','flat','flatMap','forEach','includes','indexOf','join','keys','lastIndexOf','map','pop','push','reduce','reduceRight','reverse','shift','slice','some','sort','splice','toLocaleString','toString','unshift','values']);
guard(Array,['from','of']);
guard(String.prototype,['repeat','padStart','padEnd','concat'],function(n,s,a){
var len=String(s).length;
if(n==='repeat')return len*(+a[0])>cap;
if(n==='padStart'||n==='padEnd')return +a[0]>cap;
return false;
});
['ArrayBuffer','SharedArrayBuffer','DataView','Atomics','Int8Array','Uint8Array','Uint8ClampedArray','Int16Array','Uint16Array','Int32Array','Uint32Array','Float32Array','Float64Array'].forEach(function(n){delete this[n];},this);
}).call(this);)JS");

class Guard
{
public:
    Guard(ScriptWatchdog &watchdog, QJSEngine &engine, std::chrono::steady_clock::time_point deadline)
        : m_watchdog(watchdog)
    {
        m_watchdog.arm(&engine, deadline);
    }
    ~Guard() { m_watchdog.disarm(); }
    bool interrupted() { return m_watchdog.disarm(); }

private:
    ScriptWatchdog &m_watchdog;
};

} // namespace

ScriptEngine::ScriptEngine(std::chrono::milliseconds timeLimit)
    : m_watchdog(std::make_unique<ScriptWatchdog>(timeLimit))
{
    prepare();
}

ScriptEngine::~ScriptEngine() = default;

std::chrono::milliseconds ScriptEngine::timeLimit() const { return m_watchdog->limit(); }

void ScriptEngine::prepare()
{
    m_engine.reset();
    m_engine = std::make_unique<QJSEngine>();
    m_engine->evaluate(kPrelude);
}

std::expected<QJSValue, ScriptFailure> ScriptEngine::evaluate(const QString &code)
{
    QStringList trace;
    QJSValue result;
    {
        Guard guard(*m_watchdog, *m_engine, m_deadline);
        result = m_engine->evaluate(code, QString(), 1, &trace);
        if (guard.interrupted())
            return std::unexpected(ScriptFailure::Interrupted);
    }
    // The stack trace tells a thrown error from an Error object that the code
    // merely produced as its value; syntax errors come without one.
    if (!trace.isEmpty() || (result.isError() && result.errorType() == QJSValue::SyntaxError))
        return std::unexpected(ScriptFailure::Error);
    return result;
}

std::expected<void, ScriptFailure> ScriptEngine::addCode(const QString &code)
{
    const auto result = evaluate(code);
    if (!result)
        return std::unexpected(result.error());
    return {};
}

std::expected<QJSValue, ScriptFailure> ScriptEngine::call(const QJSValue &function, const QJSValueList &arguments)
{
    QJSValue result;
    {
        Guard guard(*m_watchdog, *m_engine, m_deadline);
        result = function.call(arguments);
        if (guard.interrupted())
            return std::unexpected(ScriptFailure::Interrupted);
    }
    if (result.isError())
        return std::unexpected(ScriptFailure::Error);
    return result;
}

std::expected<int, ScriptFailure> ScriptEngine::run(const QString &procedure)
{
    const QJSValue function = m_engine->globalObject().property(procedure);
    if (!function.isCallable())
        return std::unexpected(ScriptFailure::Error);
    const auto result = call(function, {});
    if (!result)
        return std::unexpected(result.error());
    return result->toInt();
}

QJSValue ScriptEngine::newArray(int length) { return m_engine->newArray(uint(length)); }

} // namespace numsieve
