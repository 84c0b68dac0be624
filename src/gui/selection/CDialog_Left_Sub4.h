#pragma once

#include "gui/app/WindowMessages.h"
#include "gui/selection/CSelectionPanel.h"
#include "core/selection/SelectionState.h"

class QLabel;

namespace numsieve {
class Workspace;
}

namespace numsieve::gui {

class AppServices;
class CBitmapButtonEx;
class CSelectionTypePair;

// 大底: the 类型 pair, 打开文件 to import a base file into the list of the
// current 类型, the count of that list and how a base file is written.
class CDialog_Left_Sub4 : public CSelectionPanel
{
    Q_OBJECT

public:
    static const QString kFormatText;
    static const QString kExampleText;

    CDialog_Left_Sub4(Workspace &ws, MessageHandler &leftPanel, AppServices &services, QWidget *parent = nullptr);

    void refresh() override;

    CSelectionTypePair *typePair() const { return m_type; }
    CBitmapButtonEx *openButton() const { return m_open; }
    QLabel *countLabel() const { return m_count; }
    QLabel *formatLabel() const { return m_format; }
    QLabel *exampleLabel() const { return m_example; }

private:
    void openFile();
    void chooseType(SelectionType type);

    Workspace &m_ws;
    MessageHandler &m_leftPanel;
    AppServices &m_services;
    CSelectionTypePair *m_type = nullptr;
    CBitmapButtonEx *m_open = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_format = nullptr;
    QLabel *m_example = nullptr;
};

} // namespace numsieve::gui
