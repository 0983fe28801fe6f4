// SPDX-License-Identifier: MIT
#include "settings/frmsetskin.h"

#include "settings/dialoglayout.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cmath>
#include <optional>

namespace {

template <typename W> W *named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// The largest size a font may be given; larger sizes are refused like the
/// platform refuses them, and the size stays as it was.
constexpr qreal MaxFontSize = 2160;

/// A typed or chosen size in points, when it is a usable one.
std::optional<qreal> sizeOfText(const QString &text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    float size = QLocale::system().toFloat(trimmed, &ok);
    if (!ok)
        size = QLocale::c().toFloat(trimmed, &ok);
    if (!ok || !std::isfinite(size) || size <= 0 || size > MaxFontSize)
        return std::nullopt;
    return qreal(size);
}

QComboBox *newCombo(QWidget *parent, const char *name) {
    auto *box = named(new QComboBox(parent), name);
    box->setEditable(true);
    // Typing alone never chooses: no completion and nothing added on Enter.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    return box;
}

/// Puts the box's fixed initial text into its edit field, no item chosen.
void showInitialText(QComboBox *box, const QString &text) {
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void setColorRole(QWidget *widget, QPalette::ColorRole role, const QColor &color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

QStringList colorNames() {
    return {QStringLiteral("黑色"), QStringLiteral("白色"), QStringLiteral("红色"),
            QStringLiteral("黄色"), QStringLiteral("蓝色"), QStringLiteral("绿色"),
            QStringLiteral("青色")};
}

frmSetSkin::frmSetSkin(frmMain &mainForm, QWidget *parent)
    : QDialog(parent)
    , form(mainForm) {
    setObjectName(QStringLiteral("frmSetSkin"));
    setWindowTitle(QStringLiteral("文本管理界面设置"));
    createControls();
    fixDialog(this, 6150, 4770, parent);
    Form_Load();
    // Connected after the initial texts are in, which are not choices.
    connectControls();
}

void frmSetSkin::createControls() {
    Frame1 = named(new QGroupBox(this), "Frame1");
    Frame1->setGeometry(tw(60), tw(30), tw(6045), tw(4125));

    Label4 = named(new QLabel(QStringLiteral("字体颜色："), Frame1), "Label4");
    placeTwips(Label4, 210, 345, 900, 180);
    cmbFColor = newCombo(Frame1, "cmbFColor");
    placeTwips(cmbFColor, 1170, 315, 1620, 300);
    Label5 = named(new QLabel(QStringLiteral("背景颜色："), Frame1), "Label5");
    placeTwips(Label5, 3060, 360, 900, 180);
    cmbBColor = newCombo(Frame1, "cmbBColor");
    placeTwips(cmbBColor, 4125, 315, 1680, 300);

    Label1 = named(new QLabel(QStringLiteral("字体"), Frame1), "Label1");
    placeTwips(Label1, 180, 765, 360, 180);
    cmbFont = newCombo(Frame1, "cmbFont");
    placeTwips(cmbFont, 165, 1110, 2295, 300);
    Label2 = named(new QLabel(QStringLiteral("字形"), Frame1), "Label2");
    placeTwips(Label2, 2895, 765, 360, 180);
    cmbIBU = newCombo(Frame1, "cmbIBU");
    placeTwips(cmbIBU, 2880, 1110, 1320, 300);
    Label3 = named(new QLabel(QStringLiteral("字号"), Frame1), "Label3");
    placeTwips(Label3, 4695, 765, 360, 180);
    cmbSize = newCombo(Frame1, "cmbSize");
    placeTwips(cmbSize, 4620, 1110, 1245, 300);
    Label4->setBuddy(cmbFColor);
    Label5->setBuddy(cmbBColor);
    Label1->setBuddy(cmbFont);
    Label2->setBuddy(cmbIBU);
    Label3->setBuddy(cmbSize);
    // Font names are long; the open list may be wider than the box.
    cmbFont->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    Frame2 = named(new QGroupBox(QStringLiteral(" 预览 "), Frame1), "Frame2");
    Frame2->setGeometry(tw(165), tw(1575), tw(5700), tw(2370));
    txtPre = named(new QLineEdit(QStringLiteral("Zelvo工作室，abc"), Frame2), "txtPre");
    txtPre->setGeometry(tw(210), tw(390), tw(5280), tw(1740));
    // The default appearance of a text box: the desktop's font and colours,
    // whatever the dialog itself uses.
    txtPre->setFont(QApplication::font(txtPre));
    txtPre->setPalette(QApplication::palette(txtPre));

    cmdCancel = named(new QPushButton(QStringLiteral("取消"), this), "cmdCancel");
    cmdCancel->setGeometry(tw(3780), tw(4305), tw(1095), tw(375));
    cmdApply = named(new QPushButton(QStringLiteral("确定"), this), "cmdApply");
    cmdApply->setGeometry(tw(4980), tw(4305), tw(1095), tw(375));

    setTabOrder(cmdApply, cmdCancel);
    setTabOrder(cmdCancel, cmbFColor);
    setTabOrder(cmbFColor, cmbBColor);
    setTabOrder(cmbBColor, cmbFont);
    setTabOrder(cmbFont, cmbIBU);
    setTabOrder(cmbIBU, cmbSize);
    setTabOrder(cmbSize, txtPre);
    cmdApply->setFocus();
}

void frmSetSkin::connectControls() {
    // "Click" is an item chosen from the list (mouse or arrow keys), not typing.
    connect(cmbFont, &QComboBox::activated, this, &frmSetSkin::cmbFont_Click);
    connect(cmbIBU, &QComboBox::activated, this, &frmSetSkin::cmbIBU_Click);
    connect(cmbSize, &QComboBox::activated, this, &frmSetSkin::cmbSize_Click);
    connect(cmbSize, &QComboBox::editTextChanged, this, &frmSetSkin::cmbSize_Change);
    connect(cmbFColor, &QComboBox::activated, this, &frmSetSkin::cmbFColor_Click);
    connect(cmbBColor, &QComboBox::activated, this, &frmSetSkin::cmbBColor_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmSetSkin::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSetSkin::cmdCancel_Click);
}

void frmSetSkin::Form_Load() {
    cmbFont->addItems(QFontDatabase::families());
    cmbIBU->addItems({QStringLiteral("常规"), QStringLiteral("粗体"), QStringLiteral("斜体"),
                      QStringLiteral("粗斜体")});
    for (int size = 1; size <= 50; ++size)
        cmbSize->addItem(QString::number(size));
    cmbFColor->addItems(colorNames());
    cmbBColor->addItems(colorNames());

    showInitialText(cmbFColor, QStringLiteral("黑色"));
    showInitialText(cmbBColor, QStringLiteral("白色"));
    showInitialText(cmbFont, QStringLiteral("宋体"));
    showInitialText(cmbIBU, QStringLiteral("常规"));
    showInitialText(cmbSize, QStringLiteral("9"));
}

void frmSetSkin::cmbFont_Click() {
    QFont font = txtPre->font();
    font.setFamily(cmbFont->currentText());
    txtPre->setFont(font);
}

void frmSetSkin::cmbIBU_Click() {
    struct Style {
        const char16_t *name;
        bool bold;
        bool italic;
    };
    static constexpr Style styles[] = {
        {u"常规", false, false},
        {u"粗体", true, false},
        {u"斜体", false, true},
        {u"粗斜体", true, true},
    };
    const QString text = cmbIBU->currentText();
    for (const Style &style : styles) {
        if (text == QStringView(style.name)) {
            QFont font = txtPre->font();
            font.setBold(style.bold);
            font.setItalic(style.italic);
            txtPre->setFont(font);
            return;
        }
    }
}

void frmSetSkin::cmbSize_Click() {
    cmbSize_Change();
}

void frmSetSkin::cmbSize_Change() {
    if (const auto size = sizeOfText(cmbSize->currentText())) {
        QFont font = txtPre->font();
        font.setPointSizeF(*size);
        txtPre->setFont(font);
    }
}

void frmSetSkin::cmbFColor_Click() {
    if (const qint32 value = funSetColor(cmbFColor->currentText()); value >= 0)
        setColorRole(txtPre, QPalette::Text, colorOfValue(value));
}

void frmSetSkin::cmbBColor_Click() {
    if (const qint32 value = funSetColor(cmbBColor->currentText()); value >= 0)
        setColorRole(txtPre, QPalette::Base, colorOfValue(value));
}

qint32 frmSetSkin::funSetColor(const QString &txtColor) {
    struct Named {
        const char16_t *name;
        qint32 value;
    };
    static constexpr Named colors[] = {
        {u"黑色", 0x000000}, {u"红色", 0x0000FF}, {u"绿色", 0x00FF00}, {u"黄色", 0x00FFFF},
        {u"蓝色", 0xFF0000}, {u"青色", 0xFFFF00}, {u"白色", 0xFFFFFF},
    };
    for (const Named &color : colors) {
        if (txtColor == QStringView(color.name))
            return color.value;
    }
    return -1;
}

QColor frmSetSkin::colorOfValue(qint32 value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

qint32 frmSetSkin::valueOfColor(const QColor &color) {
    return color.red() | color.green() << 8 | color.blue() << 16;
}

void frmSetSkin::cmdApply_Click() {
    TextBox *target = form.txtMain;
    const QFont preview = txtPre->font();
    QFont font = target->font();
    font.setFamily(preview.family());
    target->setFont(font);
    font.setBold(preview.bold());
    target->setFont(font);
    font.setItalic(preview.italic());
    target->setFont(font);
    if (preview.pointSizeF() > 0)
        font.setPointSizeF(preview.pointSizeF());
    else if (preview.pixelSize() > 0)
        font.setPixelSize(preview.pixelSize());
    target->setFont(font);
    setColorRole(target, QPalette::Text, txtPre->palette().color(QPalette::Text));
    setColorRole(target, QPalette::Base, txtPre->palette().color(QPalette::Base));
    accept();
}

void frmSetSkin::cmdCancel_Click() {
    reject();
}

void frmMain::menuSkin_Click() {
    frmSetSkin dialog(*this, this);
    dialog.exec();
}
