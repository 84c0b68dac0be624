#include "gui/history/CDialogPrizes.h"

#include "gui/app/AppServices.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace numsieve::gui {

CDialogPrizes::CDialogPrizes(AppServices &services, const QString &lotteryName, const std::optional<Prizes> &prizes,
                             QWidget *parent)
    : QDialog(parent), m_services(services), m_prizes(prizes)
{
    setObjectName(QStringLiteral("CDialogPrizes"));
    setWindowTitle(QStringLiteral("奖金设置"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("%1：每注的价格和各种中奖的奖金（元），方案回测和对奖按它计算").arg(lotteryName), this);
    title->setWordWrap(true);
    title->setTextFormat(Qt::PlainText);
    layout->addWidget(title);
    auto *form = new QFormLayout;
    const QString labels[] = {QStringLiteral("每注价格"), QStringLiteral("直选（号码和顺序都对）"),
                              QStringLiteral("组选三（两个号码相同，顺序不限）"), QStringLiteral("组选六（三个号码不同，顺序不限）")};
    const int values[] = {prizes ? prizes->price : 0, prizes ? prizes->straight : 0, prizes ? prizes->groupThree : 0,
                          prizes ? prizes->groupSix : 0};
    for (int i = 0; i < 4; ++i) {
        auto *e = new QLineEdit(prizes ? QString::number(values[i]) : QString(), this);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), e));
        e->setPlaceholderText(QStringLiteral("元"));
        form->addRow(labels[i], e);
        m_edits[size_t(i)] = e;
    }
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    QPushButton *none = buttons->addButton(QStringLiteral("不设置"), QDialogButtonBox::ResetRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDialogPrizes::takeTyped);
    connect(none, &QPushButton::clicked, this, &CDialogPrizes::clearPrizes);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CDialogPrizes::takeTyped()
{
    const auto typed = parsePrizes(m_edits[Price]->text(), m_edits[Straight]->text(), m_edits[GroupThree]->text(),
                                   m_edits[GroupSix]->text());
    if (!typed) {
        m_services.warn(this, typed.error());
        return;
    }
    m_prizes = *typed;
    accept();
}

void CDialogPrizes::clearPrizes()
{
    m_prizes.reset();
    accept();
}

} // namespace numsieve::gui
