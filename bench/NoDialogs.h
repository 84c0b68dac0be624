#pragma once

#include "gui/app/AppServices.h"

#include <QDialog>

namespace numsieve::bench {

// The window benchmarks answer no dialog: every question is cancelled.
class NoDialogs : public gui::AppServices
{
public:
    void warn(QWidget *, const QString &) override {}
    gui::Answer ask(QWidget *, const QString &, const QString &) override { return gui::Answer::Cancel; }
    bool confirm(QWidget *, const QString &, const QString &) override { return false; }
    gui::Answer choose(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return gui::Answer::Cancel;
    }
    QString openFileName(QWidget *, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &) override { return {}; }
    void execModal(QDialog *) override {}
    bool openUrl(const QUrl &) override { return true; }
    std::expected<void, QString> printFile(const QString &) override { return {}; }
};

} // namespace numsieve::bench
