// SPDX-License-Identifier: MIT
#include "ui/toolbar.h"

#include "ui/artwork.h"
#include "ui/frmmain.h"

#include <QAction>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>

ToolButton::ToolButton(int index, const QPixmap &picture, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
    , m_picture(picture) {
    setMouseTracking(true);
}

void ToolButton::setBorder(bool on) {
    if (m_border == on)
        return;
    m_border = on;
    update();
}

void ToolButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
    if (m_border) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ToolButton::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMoved(m_index);
    event->accept();
}

void ToolButton::mousePressEvent(QMouseEvent *event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ToolButton::mouseReleaseEvent(QMouseEvent *event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->pos());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked(m_index);
}

ToolBarArea::ToolBarArea(QWidget *parent)
    : QWidget(parent) {
    setMouseTracking(true);
}

void ToolBarArea::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMoved();
    event->accept();
}

namespace {

/// The toolbar: each button stands for a menu item and runs its command.
struct ToolDesign {
    int index;
    int left;
    const char16_t *tip;
    QAction *frmMain::*item;
};

constexpr ToolDesign toolDesigns[] = {
    {0, 45, u"保存所有数据,包括文字和图片", &frmMain::menuSave},
    {1, 540, u"删除所有数据,包括文字和图片", &frmMain::menuClearData},
    {2, 1155, u"察看文本数据", &frmMain::menuVTxt},
    {3, 1695, u"察看图像数据", &frmMain::menuVImg},
    {5, 2310, u"文本界面设置", &frmMain::menuSkin},
    {6, 2820, u"选项", &frmMain::menuOption},
    {7, 3450, u"使用说明", &frmMain::menuUser},
    {8, 3975, u"关于", &frmMain::menuAbout},
};

} // namespace

void frmMain::createToolbar() {
    auto *bar = new ToolBarArea(centralWidget());
    bar->setObjectName(QStringLiteral("picToolBar"));
    bar->setGeometry(0, tw(-15), tw(5025), tw(525));
    picToolBar = bar;
    connect(bar, &ToolBarArea::mouseMoved, this, &frmMain::picToolBar_MouseMove);
    for (const ToolDesign &tool : toolDesigns) {
        auto *button = new ToolButton(tool.index, toolPicture(tool.index), bar);
        button->setObjectName(QStringLiteral("imgTool%1").arg(tool.index));
        button->setGeometry(tw(tool.left), tw(60), tw(450), tw(435));
        button->setToolTip(QString::fromUtf16(tool.tip));
        imgTool[tool.index] = button;
        connect(button, &ToolButton::clicked, this, &frmMain::imgTool_Click);
        connect(button, &ToolButton::mouseMoved, this, &frmMain::imgTool_MouseMove);
    }
}

void frmMain::imgTool_Click(int index) {
    for (const ToolDesign &tool : toolDesigns) {
        if (tool.index == index) {
            // The menu item runs its command exactly as when it is chosen.
            if (QAction *item = this->*tool.item)
                item->trigger();
            return;
        }
    }
}

namespace {

void setToolBorder(const std::array<ToolButton *, 9> &tools, int index, bool on) {
    if (index >= 0 && index < int(tools.size()) && tools[index])
        tools[index]->setBorder(on);
}

} // namespace

void frmMain::imgTool_MouseMove(int index) {
    setToolBorder(imgTool, index, true);
    if (LastHoverTool != index)
        setToolBorder(imgTool, LastHoverTool, false);
    LastHoverTool = qint16(index);
}

void frmMain::picToolBar_MouseMove() {
    setToolBorder(imgTool, LastHoverTool, false);
}

void frmMain::menuVTxt_Click() {
    menuVTxt->setChecked(true);
    menuVImg->setChecked(false);
    fmTxt->setVisible(true);
    fmImg->setVisible(false);
}

void frmMain::menuVImg_Click() {
    menuVTxt->setChecked(false);
    menuVImg->setChecked(true);
    fmTxt->setVisible(false);
    fmImg->setVisible(true);
}
