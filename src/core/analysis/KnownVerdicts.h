#pragma once

#include "core/filter/AdvancedCondition.h"

#include <bitset>

namespace numsieve {

// Condition 15 answered from verdicts judged beforehand, by number.
class KnownVerdicts : public AdvancedConditionRunner
{
public:
    explicit KnownVerdicts(const std::bitset<1000> &passing) : m_passing(passing) {}
    std::expected<void, QString> prepare(const QString &, const QStringList &) override { return {}; }
    bool test(int number, ListMode) override { return number >= 0 && number < 1000 && m_passing.test(std::size_t(number)); }
    bool repeatableVerdicts() const override { return true; }

private:
    std::bitset<1000> m_passing;
};

} // namespace numsieve
