// SPDX-License-Identifier: MIT
#include "ui/frmmain.h"

#include "app/module1.h"
#include "ui/artwork.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"
#include "ui/toolbar.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QSystemTrayIcon>
#include <qdrawutil.h>

namespace {

/// A frame with an etched line round it and its caption set into the top line.
class FrameBox final : public QGroupBox {
public:
    FrameBox(const QString &caption, QWidget *parent)
        : QGroupBox(caption, parent) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int lineTop = metrics.height() / 2;
        qDrawShadeRect(&painter, rect().adjusted(0, lineTop, 0, 0), palette(), true);
        const QRect caption(tw(90), 0, metrics.horizontalAdvance(title()), metrics.height());
        painter.fillRect(caption, palette().window());
        style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                              isEnabled(), title(), QPalette::WindowText);
    }
};

QRect twips(int left, int top, int width, int height) {
    return QRect(tw(left), tw(top), tw(width), tw(height));
}

template <typename W> W *named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmMain::frmMain(Module1 &module, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint)
    , m(module) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orlo粘贴板2.0版"));
    setWindowIcon(windowIconArt());
    setCentralWidget(new QWidget(this));
    createMenus();
    createToolbar();
    createControls();
    connectControls();
    // Every control has its fixed place: the window neither grows nor shrinks,
    // which is also what keeps window managers from offering to maximise it.
    setFixedSize(tw(8265), tw(6645) + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::createControls() {
    QWidget *client = centralWidget();

    fmTxt = named(new FrameBox(QStringLiteral(" 文本数据 "), client), "fmTxt");
    fmTxt->setGeometry(twips(30, 660, 8220, 5625));
    txtMain = named(new TextBox(fmTxt), "txtMain");
    txtMain->setGeometry(twips(1860, 320, 6225, 5100));
    lstTxt = named(new QListWidget(fmTxt), "lstTxt");
    lstTxt->setGeometry(twips(90, 320, 1700, 5100));

    fmImg = named(new FrameBox(QStringLiteral(" 图片数据 "), client), "fmImg");
    fmImg->setGeometry(twips(30, 660, 8220, 5625));
    fmImg->setVisible(false);
    lstImg = named(new QListWidget(fmImg), "lstImg");
    lstImg->setGeometry(twips(90, 320, 1700, 5100));
    imgMain = named(new PictureBox(fmImg), "imgMain");
    imgMain->setGeometry(twips(1860, 320, 6225, 5100));
    imgBak = named(new StretchImage(imgMain->clientArea()), "imgBak");
    imgBak->setVisible(false);

    lTip = named(new QLabel(QStringLiteral("就绪"), client), "lTip");
    // Wide enough for the longest status text, so it never needs resizing.
    lTip->setGeometry(tw(90), tw(6360), tw(8100), lTip->sizeHint().height());
}

void frmMain::connectControls() {
    // Emptying a list leaves it without a selection: that shows nothing and
    // keeps the current entry, as no entry was chosen.
    connect(lstTxt, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstTxt_Click();
    });
    connect(txtMain, &TextBox::userEdited, this, &frmMain::txtMain_Change);
    connect(lstImg, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstImg_Click();
    });
    connect(imgMain, &PictureBox::mousePressed, this, &frmMain::imgMain_MouseDown);
    connect(imgBak, &StretchImage::mousePressed, this, &frmMain::imgMain_MouseDown);
}
